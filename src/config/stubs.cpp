// Placeholder until the stored files land.
#include "config/ban_list.h"
#include "config/game_conf.h"
#include "config/game_secure.h"
#include "config/winlist.h"

WinlistTable winlist;
int read_game_conf() { return 0; }
int write_game_conf() { return 0; }
int read_game_secure() { return 0; }
int write_game_secure() { return 0; }
void clear_winlist() {}
void read_winlist() {}
void write_winlist() {}
bool is_banned(std::uint64_t) { return false; }

// Temporary stubs while the subsystems land.
#include "channel/timers.h"
#include "commands/dispatch.h"
#include "config/ban_list.h"
#include "config/game_conf.h"
#include "config/game_secure.h"
#include "config/winlist.h"
#include "game/field.h"
#include "game/game_control.h"
#include "game/relay.h"
#include "login/admission.h"
#include "login/channel_entry.h"
#include "login/login_decoder.h"
#include "login/prelogin.h"
#include "net/listener.h"
#include "net/socket_table.h"

WinlistTable winlist;
void run_timers() {}
int read_game_conf() { return 0; }
int write_game_conf() { return 0; }
int read_game_secure() { return 0; }
int write_game_secure() { return 0; }
void clear_winlist() {}
void read_winlist() {}
void write_winlist() {}
void admit_connection(Client& listener) {
  std::string host;
  std::uint64_t address = 0;
  int fd = accept_connection(listener.fd, host, address);
  if (fd >= 0) kill_socket(fd);
}
Outcome handle_init_line(Client&, std::string&) { return Outcome::Kept; }
Outcome handle_team_line(Client&, std::string&) { return Outcome::Kept; }
Outcome handle_channel_line(Client&, std::string&) { return Outcome::Kept; }

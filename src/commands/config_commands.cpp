// The commands that reach the server-wide stores: /winlist shows the top rows, /clear
// empties the table and game.winlist, /save writes game.conf and /reset reads it
// again. The stores themselves (file formats, the winlist message) live elsewhere.
#include <string>

#include "commands/arguments.h"
#include "commands/handlers.h"
#include "commands/texts.h"
#include "config/game_conf.h"
#include "config/winlist.h"
#include "core/log.h"
#include "game/game_control.h"
#include "net/socket_table.h"

using namespace commands;

namespace {

constexpr std::string_view WINLIST_ALONE = "/winlist";
constexpr int WINLIST_DEFAULT_ROWS = 10;

}  // namespace

Outcome handle_winlist(Client& sender, std::string_view text, std::string_view argument) {
  const int rows =
      text.size() == WINLIST_ALONE.size() ? WINLIST_DEFAULT_ROWS : read_atoi(argument);
  if (rows < 1 || rows > WINLIST_ROWS) return Outcome::Kept;
  Tprintf(sender.fd, TXT_WINLIST_TITLE, 5, rows);
  for (int i = 0; i < rows && winlist[i].used; ++i) {
    const WinlistEntry& row = winlist[i];
    const std::string name(row.name_text());
    const bool team = row.kind == KIND_TEAM;
    const int c = name == (team ? sender.team : sender.nick) ? 20 : 4;
    Tprintf(sender.fd, team ? TXT_WINLIST_TEAM : TXT_WINLIST_PLAYER, c, i + 1, row.score,
            name.c_str());
  }
  return Outcome::Kept;
}

Outcome handle_clear(Client& sender, std::string_view, std::string_view) {
  log_msg(4, LOG_WINLIST_CLEARED, sender.channel->name.c_str(), sender.nick.c_str());
  clear_winlist();
  write_winlist();
  send_winlist(*sender.channel, nullptr);
  return Outcome::Kept;
}

Outcome handle_save(Client& sender, std::string_view, std::string_view) {
  if (write_game_conf() < 0) {
    log_msg(0, LOG_NOT_SAVED);
    Tprintf(sender.fd, TXT_NOT_SAVED, 17);
  } else {
    Tprintf(sender.fd, TXT_SAVED, 17);
  }
  return Outcome::Kept;
}

Outcome handle_reset(Client& sender, std::string_view, std::string_view) {
  Tprintf(sender.fd, read_game_conf() < 0 ? TXT_NOT_FOUND : TXT_LOADED, 17);
  return Outcome::Kept;
}

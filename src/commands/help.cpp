// /help: the header and two lines per enabled command, in a fixed order, each marked
// with the level its setting asks for. It lists commands whether or not the sender
// may use them.
#include <cstdint>
#include <string>

#include "commands/handlers.h"
#include "commands/texts.h"
#include "config/settings.h"
#include "core/server.h"
#include "net/socket_table.h"

namespace {

enum class Listed { ABOVE_ZERO, NOT_ZERO, ALWAYS };
enum class Second { MARKED, PLAIN, MARKED_SET };

struct HelpRow {
  std::int32_t ServerSettings::*level;
  Listed listed;
  const char* first;
  bool first_has_argument;  // the first line takes (20, 5) instead of (20)
  const char* second;
  Second second_kind;
};

constexpr HelpRow HELP_ROWS[] = {
    {&ServerSettings::command_clear, Listed::ABOVE_ZERO, TXT_HELP_CLEAR_1, false, TXT_HELP_CLEAR_2,
     Second::MARKED},
    {&ServerSettings::command_join, Listed::NOT_ZERO, TXT_HELP_JOIN_1, true, TXT_HELP_JOIN_2,
     Second::MARKED},
    {&ServerSettings::command_kick, Listed::NOT_ZERO, TXT_HELP_KICK_1, true, TXT_HELP_KICK_2,
     Second::MARKED},
    {&ServerSettings::command_list, Listed::NOT_ZERO, TXT_HELP_LIST_1, false, TXT_HELP_LIST_2,
     Second::MARKED},
    {nullptr, Listed::ALWAYS, TXT_HELP_ME_1, true, TXT_HELP_ME_2, Second::PLAIN},
    {&ServerSettings::command_move, Listed::NOT_ZERO, TXT_HELP_MOVE_1, true, TXT_HELP_MOVE_2,
     Second::MARKED},
    {&ServerSettings::command_msg, Listed::NOT_ZERO, TXT_HELP_MSG_1, true, TXT_HELP_MSG_2,
     Second::MARKED},
    {&ServerSettings::command_op, Listed::NOT_ZERO, TXT_HELP_OP_1, true, TXT_HELP_OP_2,
     Second::PLAIN},
    {&ServerSettings::command_persistant, Listed::NOT_ZERO, TXT_HELP_PERSISTANT_1, true,
     TXT_HELP_PERSISTANT_2, Second::MARKED},
    {&ServerSettings::command_priority, Listed::NOT_ZERO, TXT_HELP_PRIORITY_1, true,
     TXT_HELP_PRIORITY_2, Second::MARKED},
    {&ServerSettings::command_reset, Listed::NOT_ZERO, TXT_HELP_RESET_1, false, TXT_HELP_RESET_2,
     Second::MARKED},
    {&ServerSettings::command_save, Listed::NOT_ZERO, TXT_HELP_SAVE_1, false, TXT_HELP_SAVE_2,
     Second::MARKED},
    {&ServerSettings::command_set, Listed::NOT_ZERO, TXT_HELP_SET_1, false, TXT_HELP_SET_2,
     Second::MARKED_SET},
    {&ServerSettings::command_topic, Listed::NOT_ZERO, TXT_HELP_TOPIC_1, true, TXT_HELP_TOPIC_2,
     Second::MARKED},
    {&ServerSettings::command_who, Listed::NOT_ZERO, TXT_HELP_WHO_1, false, TXT_HELP_WHO_2,
     Second::MARKED},
    {&ServerSettings::command_winlist, Listed::NOT_ZERO, TXT_HELP_WINLIST_1, true,
     TXT_HELP_WINLIST_2, Second::MARKED},
};

// Level 2 and 3 carry their marker after its attribute byte; other levels none.
std::string marker(int level) {
  if (level == 2) return std::string(1, '\x17') + TXT_HELP_MARKER_OP;
  if (level == 3) return std::string(1, '\x14') + TXT_HELP_MARKER_AUTH_OP;
  return {};
}

bool listed(const HelpRow& row) {
  switch (row.listed) {
    case Listed::ABOVE_ZERO:
      return server_settings.*row.level > 0;
    case Listed::NOT_ZERO:
      return server_settings.*row.level != 0;
    case Listed::ALWAYS:
      return true;
  }
  return false;
}

}  // namespace

Outcome handle_help(Client& sender, std::string_view, std::string_view) {
  const int fd = sender.fd;
  Tprintf(fd, TXT_HELP_HEADER, SERVER_VERSION, SERVER_BUILD, 23, 4, 20, 4);
  for (const HelpRow& row : HELP_ROWS) {
    if (!listed(row)) continue;
    if (row.first_has_argument) {
      Tprintf(fd, row.first, 20, 5);
    } else {
      Tprintf(fd, row.first, 20);
    }
    switch (row.second_kind) {
      case Second::PLAIN:
        Tsend(fd, row.second);
        break;
      case Second::MARKED:
        Tprintf(fd, row.second, marker(server_settings.*row.level).c_str(), 4);
        break;
      case Second::MARKED_SET:
        Tprintf(fd, row.second, marker(server_settings.*row.level).c_str(), 4, 5, 20);
        break;
    }
  }
  return Outcome::Kept;
}

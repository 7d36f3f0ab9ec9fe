// Recognition and permission, once for every command: the table below is tested in
// order, a name matching when the text begins with it in any letter case; the row's
// access rule decides whether the sender may run it. Handlers never test it again.
#include "commands/dispatch.h"

#include <algorithm>
#include <cstdint>

#include "commands/arguments.h"
#include "commands/handlers.h"
#include "commands/texts.h"
#include "config/settings.h"
#include "core/text.h"
#include "net/socket_table.h"

using namespace commands;

namespace {

// How a row's level is applied.
enum class Access {
  LEVEL,  // effective level at least the command's level
  OP,     // everybody (the password is the test)
  JOIN,   // level 4: everybody may join, creating is checked by the command
  SET,    // level 4: authenticated ops anywhere, the chanop in non-persistent channels
  MOVE,   // a running or paused game refuses everybody, with its own answer
};

struct Command {
  std::string_view name;
  std::int32_t ServerSettings::*level;
  Access access;
  // Character (counting from 1 at the '/') where the argument begins; 0 for none.
  std::size_t argument_at;
  CommandHandler handler;
  // A longer spelling whose argument begins after it instead ("/join" for "/j").
  std::string_view long_name = {};
};

// In the order the names are tested; no name begins another except "/j" ("/join").
constexpr Command COMMANDS[] = {
    {"/kick", &ServerSettings::command_kick, Access::LEVEL, 7, handle_kick},
    {"/set", &ServerSettings::command_set, Access::SET, 0, handle_set},
    {"/topic", &ServerSettings::command_topic, Access::LEVEL, 8, handle_topic},
    {"/who", &ServerSettings::command_who, Access::LEVEL, 0, handle_who},
    {"/priority", &ServerSettings::command_priority, Access::LEVEL, 11, handle_priority},
    {"/list", &ServerSettings::command_list, Access::LEVEL, 0, handle_list},
    {"/j", &ServerSettings::command_join, Access::JOIN, 4, handle_join, "/join"},
    {"/clear", &ServerSettings::command_clear, Access::LEVEL, 0, handle_clear},
    {"/persistant", &ServerSettings::command_persistant, Access::LEVEL, 13, handle_persistant},
    {"/save", &ServerSettings::command_save, Access::LEVEL, 0, handle_save},
    {"/reset", &ServerSettings::command_reset, Access::LEVEL, 0, handle_reset},
    {"/msg", &ServerSettings::command_msg, Access::LEVEL, 6, handle_msg},
    {"/move", &ServerSettings::command_move, Access::MOVE, 7, handle_move},
    {"/op", &ServerSettings::command_op, Access::OP, 5, handle_op},
    {"/winlist", &ServerSettings::command_winlist, Access::LEVEL, 10, handle_winlist},
    {"/help", &ServerSettings::command_help, Access::LEVEL, 0, handle_help},
};

int effective_level(const Client& client) {
  return std::max(client.level, is_chanop(client) ? LEVEL_CHANOP : LEVEL_PLAYER);
}

// The answer that refuses the command, or null when the sender may run it.
const char* refusal(const Command& command, const Client& sender) {
  const int needed = server_settings.*command.level;
  const int level = effective_level(sender);
  switch (command.access) {
    case Access::LEVEL:
      return level >= needed ? nullptr : TXT_NO_ACCESS;
    case Access::OP:
      return nullptr;
    case Access::JOIN:
      return needed == LEVEL_SPECIAL || level >= needed ? nullptr : TXT_NO_ACCESS;
    case Access::SET:
      if (level >= needed) return nullptr;
      if (needed == LEVEL_SPECIAL &&
          (level == LEVEL_AUTH_OP || (level == LEVEL_CHANOP && !sender.channel->persistant))) {
        return nullptr;
      }
      return TXT_NO_ACCESS;
    case Access::MOVE:
      if (sender.channel->game_state != GAME_STOPPED) return TXT_MOVE_IN_GAME;
      return level >= needed ? nullptr : TXT_NO_ACCESS;
  }
  return TXT_NO_ACCESS;
}

std::string_view argument_of(const Command& command, std::string_view text) {
  std::size_t at = command.argument_at;
  if (at == 0) return {};
  if (!command.long_name.empty() && starts_with_ignoring_case(text, command.long_name)) {
    at = command.long_name.size() + 2;
  }
  return text.size() >= at ? text.substr(at - 1) : std::string_view{};
}

}  // namespace

bool has_level(const Client& client, int level) { return effective_level(client) >= level; }

Outcome dispatch_command(Client& client, std::string_view text) {
  const auto row = std::find_if(std::begin(COMMANDS), std::end(COMMANDS), [&](const Command& c) {
    return starts_with_ignoring_case(text, c.name);
  });
  if (row == std::end(COMMANDS) || server_settings.*row->level <= 0) {
    Tprintf(client.fd, TXT_INVALID_COMMAND, 20);
    return Outcome::Kept;
  }
  if (const char* answer = refusal(*row, client)) {
    Tprintf(client.fd, answer, 20);
    return Outcome::Kept;
  }
  return row->handler(client, text, argument_of(*row, text));
}

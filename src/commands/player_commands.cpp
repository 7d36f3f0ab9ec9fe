// The player commands: /kick, /msg, /move and /op. Player numbers here are the single
// digits 1 to 6 whatever a channel's capacity. A kicked client is removed at once, so
// a later digit naming it finds nobody, and a self-kick ends the command.
#include <string>

#include "channel/departure.h"
#include "channel/messages.h"
#include "commands/arguments.h"
#include "commands/dispatch.h"
#include "commands/handlers.h"
#include "commands/texts.h"
#include "config/game_secure.h"
#include "config/settings.h"
#include "core/log.h"
#include "net/socket_table.h"

using namespace commands;

namespace {

constexpr int PLAYER_DIGIT_MIN = 1;
constexpr int PLAYER_DIGIT_MAX = 6;

bool is_player_digit(char c) { return c >= '0' + PLAYER_DIGIT_MIN && c <= '0' + PLAYER_DIGIT_MAX; }
bool is_player_number(int n) { return n >= PLAYER_DIGIT_MIN && n <= PLAYER_DIGIT_MAX; }

// The leading player digits of a list ("12x" gives "12").
std::string_view player_digits(std::string_view list) {
  std::size_t end = 0;
  while (end < list.size() && is_player_digit(list[end])) ++end;
  return list.substr(0, end);
}

// The first member in STATE_CHANNEL holding the number.
Client* channel_member(const Channel& channel, int playernum) {
  for (const auto& member : channel.members) {
    if (member->state == STATE_CHANNEL && member->playernum == playernum) return member.get();
  }
  return nullptr;
}

// Removes player n of the kicker's channel from the server. Returns whether that was
// the kicker itself.
bool kick_player(Client& kicker, int n) {
  Channel& channel = *kicker.channel;
  Client* kicked = is_player_number(n) ? find_player(channel, n) : nullptr;
  if (kicked == nullptr) return false;
  log_msg(4, LOG_KICKED, channel.name.c_str(), kicker.nick.c_str(), kicked->nick.c_str());
  for (const auto& member : channel.members) {
    if (member->is_player()) Tprintf(member->fd, MSG_KICK, n);
  }
  const bool self = kicked == &kicker;
  kill_socket(kicked->fd);
  remove_client(*kicked);
  return self;
}

}  // namespace

Outcome handle_kick(Client& sender, std::string_view, std::string_view argument) {
  for (const char digit : player_digits(argument)) {
    if (kick_player(sender, digit - '0')) return Outcome::Removed;
  }
  return Outcome::Kept;
}

Outcome handle_msg(Client& sender, std::string_view, std::string_view argument) {
  std::string_view in = argument;
  const std::string_view targets = read_word(in);
  const std::string message(read_word(in));
  const Channel& channel = *sender.channel;
  for (const char digit : player_digits(targets)) {
    for (const auto& member : channel.members) {
      if (member->state != STATE_CHANNEL || member->playernum != digit - '0') continue;
      Tprintf(member->fd, TXT_MSG, sender.playernum, 17, 4, message.c_str());
      log_msg(5, LOG_MSG, channel.name.c_str(), sender.nick.c_str(), member->nick.c_str(),
              message.c_str());
    }
  }
  return Outcome::Kept;
}

Outcome handle_move(Client& sender, std::string_view, std::string_view argument) {
  std::string_view in = argument;
  int from = 0;
  int to = 0;
  if (const auto first = read_int(in)) {
    from = *first;
    to = read_int(in).value_or(0);
  }
  if (!is_player_number(from) || !is_player_number(to) || from == to) {
    Tprintf(sender.fd, TXT_MOVE_USAGE, 20, 5);
    return Outcome::Kept;
  }
  const Channel& channel = *sender.channel;
  Client* a = channel_member(channel, from);
  if (a == nullptr) return Outcome::Kept;
  Client* b = channel_member(channel, to);
  // A player still stating its team holds its number too: never give it to a second.
  if (b == nullptr && find_player(channel, to) != nullptr) return Outcome::Kept;

  Tprintf(a->fd, MSG_PLAYERNUM, to);
  a->playernum = to;
  if (b == nullptr) {
    log_msg(4, LOG_MOVED, channel.name.c_str(), sender.nick.c_str(), a->nick.c_str(), from,
            a->nick.c_str(), to);
    Tprintf(a->fd, MSG_PLAYERLEAVE, from);
  } else {
    log_msg(4, LOG_SWAPPED, channel.name.c_str(), sender.nick.c_str(), a->nick.c_str(), from,
            b->nick.c_str(), to);
    Tprintf(b->fd, MSG_PLAYERNUM, from);
    b->playernum = from;
    Tprintf(a->fd, MSG_PLAYERJOIN, from, b->nick.c_str());
    Tprintf(b->fd, MSG_PLAYERJOIN, to, a->nick.c_str());
  }
  for (const auto& member : channel.members) {
    if (member->state != STATE_CHANNEL || member.get() == a || member.get() == b) continue;
    Tprintf(member->fd, MSG_PLAYERJOIN, to, a->nick.c_str());
    if (b == nullptr) {
      Tprintf(member->fd, MSG_PLAYERLEAVE, from);
    } else {
      Tprintf(member->fd, MSG_PLAYERJOIN, from, b->nick.c_str());
    }
  }
  return Outcome::Kept;
}

Outcome handle_op(Client& sender, std::string_view, std::string_view argument) {
  if (read_game_secure() < 0) write_game_secure();
  const std::string& password = server_settings.op_password;
  const char* channel = sender.channel->name.c_str();
  if (password.empty() || argument != password) {
    Tsend(sender.fd, TXT_OP_INVALID);
    log_msg(1, LOG_OP_FAILED, channel, sender.nick.c_str());
    return Outcome::Kept;
  }
  sender.level = LEVEL_AUTH_OP;
  Tprintf(sender.fd, TXT_OP_GRANTED, 12, 20);
  log_msg(4, LOG_OP_GRANTED, channel, sender.nick.c_str());
  return Outcome::Kept;
}

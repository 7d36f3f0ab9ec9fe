// Game control: the chanop starts, stops and pauses the channel's game; the clients
// report their losses and the last player or team standing wins. Messages that fail
// a check are dropped without an answer or a log line.
#include "game/game_control.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <utility>

#include "channel/departure.h"
#include "config/settings.h"
#include "core/log.h"
#include "game/arguments.h"
#include "game/field.h"
#include "game/messages.h"
#include "net/socket_table.h"

namespace {

constexpr int START = 1;
constexpr int STOP = 0;
constexpr int PAUSE_ON = 1;
constexpr int PAUSE_OFF = 0;

// "value number": both present; the value only when it fits an int.
struct ValueAndNumber {
  bool read = false;
  std::int64_t value = 0;
  std::int64_t number = 0;
};

ValueAndNumber read_value_and_number(std::string_view rest) {
  ValueAndNumber result;
  const auto value = read_number(rest);
  if (!value) return result;
  const auto number = read_number(rest);
  if (!number) return result;
  result = {true, *value, *number};
  return result;
}

// Appends `count` copies of `c`, but never lets the message grow past what the
// send path keeps: a longer message would be cut there anyway.
void append_repeated(std::string& message, char c, std::int32_t count) {
  if (count <= 0 || message.size() >= SEND_CUT) return;
  const std::size_t room = SEND_CUT - message.size();
  message.append(std::min<std::size_t>(static_cast<std::size_t>(count), room), c);
}

std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string format_text(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  const int needed = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (needed < 0) return {};
  return std::string(buffer,
                     std::min<std::size_t>(static_cast<std::size_t>(needed), sizeof buffer - 1));
}

void start_game(Channel& channel) {
  const std::string start_message = game_start_message(channel.settings);
  for (const auto& member : channel.members) {
    if (member->state != STATE_CHANNEL) continue;
    Tsend(member->fd, start_message);
    member->play_state = PLAY_ACTIVE;
    member->idle_left = server_settings.timeout_ingame;
    member->field.fill(0);
    for (const auto& other : channel.members) {
      if (other != member && other->state == STATE_CHANNEL) send_field(*other, *member);
    }
  }
}

void stop_game(Channel& channel) {
  for (const auto& member : channel.members) {
    if (member->state != STATE_CHANNEL) continue;
    Tprintf(member->fd, MSG_GAME_ENDED);
    member->play_state = PLAY_NONE;
    member->idle_left = server_settings.timeout_outgame;
  }
}

void declare_winner(Channel& channel, const Client& winner) {
  const bool has_team = !winner.team.empty();
  if (has_team) {
    winlist_add(winner.team, KIND_TEAM, WIN_POINTS);
  } else {
    winlist_add(winner.nick, KIND_PLAYER, WIN_POINTS);
  }
  channel.game_state = GAME_STOPPED;
  const int winner_number = winner.playernum;
  for (const auto& member : channel.members) {
    if (member->state != STATE_CHANNEL) continue;
    Tprintf(member->fd, MSG_GAME_ENDED);
    Tprintf(member->fd, MSG_PLAYERWON, winner_number);
    member->play_state = PLAY_NONE;
    member->idle_left = server_settings.timeout_outgame;
    for (const auto& other : channel.members) {
      if (other != member && other->state == STATE_CHANNEL) send_field(*member, *other);
    }
    if (channel.settings.serverannounce != 0) {
      if (has_team) {
        Tprintf(member->fd, MSG_TEAM_WON, winner.team.c_str(), BYTE_WON);
      } else {
        Tprintf(member->fd, MSG_PLAYER_WON, winner.nick.c_str(), BYTE_WON);
      }
    }
  }
  write_winlist();
  send_winlist(channel, nullptr);
}

}  // namespace

std::string game_start_message(const ChannelSettings& s) {
  std::string message = MSG_NEWGAME_HEAD;
  message += format_text(MSG_NEWGAME_NUMBERS, s.starting_level, s.lines_per_level, s.level_increase,
                         s.lines_per_special, s.special_added, s.special_capacity);
  const std::pair<char, std::int32_t> blocks[] = {
      {'3', s.block_leftl},  {'5', s.block_leftz},     {'2', s.block_square}, {'4', s.block_rightl},
      {'6', s.block_rightz}, {'7', s.block_halfcross}, {'1', s.block_line},
  };
  for (const auto& [c, count] : blocks) append_repeated(message, c, count);
  message += ' ';
  const std::pair<char, std::int32_t> specials[] = {
      {'1', s.special_addline},     {'2', s.special_clearline},   {'3', s.special_nukefield},
      {'4', s.special_randomclear}, {'5', s.special_switchfield}, {'6', s.special_clearspecial},
      {'7', s.special_gravity},     {'8', s.special_quakefield},  {'9', s.special_blockbomb},
  };
  for (const auto& [c, count] : specials) append_repeated(message, c, count);
  message += format_text(MSG_NEWGAME_TAIL, s.average_levels, s.classic_rules);
  return message;
}

void handle_startgame(Client& client, std::string_view rest) {
  const ValueAndNumber in = read_value_and_number(rest);
  if (!in.read || !is_chanop(client)) return;
  Channel& channel = *client.channel;
  const bool from_sender = number_matches(in.number, client.playernum);
  const bool start = in.value == START;
  if (start && channel.game_state == GAME_STOPPED && from_sender) {
    channel.game_state = GAME_RUNNING;
    log_msg(4, LOG_STARTED, channel.name.c_str(), client.nick.c_str());
  } else if (in.value == STOP && channel.game_state == GAME_RUNNING && from_sender) {
    channel.game_state = GAME_STOPPED;
    log_msg(4, LOG_STOPPED, channel.name.c_str(), client.nick.c_str());
    channel.sd_phase = SD_OFF;
  } else {
    return;
  }

  read_winlist();
  if (channel.settings.sd_timeout > 0) {
    channel.sd_phase = SD_WAITING;
    channel.sd_countdown = channel.settings.sd_timeout;
  } else {
    // No sudden death in this game, whatever phase an earlier game left behind.
    channel.sd_phase = SD_OFF;
  }

  if (start) {
    start_game(channel);
  } else {
    stop_game(channel);
  }
}

void handle_pause(Client& client, std::string_view rest) {
  const ValueAndNumber in = read_value_and_number(rest);
  if (!in.read || !is_chanop(client)) return;
  Channel& channel = *client.channel;
  if (!channel.game_in_progress() || !number_matches(in.number, client.playernum)) return;
  if (in.value != PAUSE_ON && in.value != PAUSE_OFF) return;
  const int value = static_cast<int>(in.value);
  if (value == PAUSE_ON) {
    log_msg(4, LOG_PAUSES, channel.name.c_str(), client.nick.c_str());
  } else {
    log_msg(5, LOG_UNPAUSES, channel.name.c_str(), client.nick.c_str());
  }
  for (const auto& member : channel.members) {
    if (member->state == STATE_CHANNEL) Tprintf(member->fd, MSG_PAUSE, value);
  }
  channel.game_state = value == PAUSE_ON ? GAME_PAUSED : GAME_RUNNING;
}

void handle_playerlost(Client& client, std::string_view rest) {
  const auto number = read_number(rest);
  if (!number) return;
  Channel& channel = *client.channel;
  if (!channel.game_in_progress() || !number_matches(*number, client.playernum) ||
      client.play_state != PLAY_ACTIVE) {
    return;
  }
  client.play_state = PLAY_LOST;
  client.idle_left = server_settings.timeout_outgame;
  log_msg(6, LOG_LOST, channel.name.c_str(), client.nick.c_str());

  for (const auto& member : channel.members) {
    if (member.get() != &client && member->state == STATE_CHANNEL &&
        member->play_state == PLAY_ACTIVE) {
      Tprintf(member->fd, MSG_PLAYERLOST, client.playernum);
    }
  }
  // The sender no longer plays, so it is not among the sides counted.
  const SideCount left = count_sides(channel, &client);
  if (left.sides >= 2 || left.candidate == nullptr) return;
  declare_winner(channel, *left.candidate);
}

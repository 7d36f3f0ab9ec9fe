// The channel commands: /list, /join (and /j), /who, /topic, /priority, /persistant.
// /join moves a client between channels in one step that cannot fail half-way: the
// new player number is found before anything changes, so a mover is never left with
// a foot in each channel.
#include <string>

#include "channel/departure.h"
#include "channel/messages.h"
#include "commands/arguments.h"
#include "commands/dispatch.h"
#include "commands/handlers.h"
#include "commands/texts.h"
#include "config/settings.h"
#include "core/log.h"
#include "game/field.h"
#include "net/socket_table.h"

using namespace commands;

namespace {

constexpr std::size_t WHO_NICK_WIDTH = 15;
constexpr std::size_t WHO_TEAM_WIDTH = 17;
constexpr int PRIORITY_MIN = 0;
constexpr int PRIORITY_MAX = 99;

std::string padded(const std::string& text, std::size_t width) {
  std::string out = text;
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

// Every member in STATE_CHANNEL, the sender included.
template <typename Send>
void to_all_members(const Channel& channel, Send send) {
  for (const auto& member : channel.members) {
    if (member->state == STATE_CHANNEL) send(*member);
  }
}

// Moves the sender from its channel into `target` and brings both channels' clients
// up to date. `target` may be the sender's own channel: it is left and entered again.
Outcome move_to_channel(Client& sender, Channel& target) {
  Channel& old = *sender.channel;
  const int new_number = lowest_free_playernum(target, &sender);
  if (new_number == 0) {
    // Only possible when the target's players hold numbers outside 1..maxplayers;
    // the sender is still wholly in its old channel and leaves from there.
    log_msg(0, LOG_JOIN_NO_PLACE, target.name.c_str(), sender.nick.c_str());
    kill_socket(sender.fd);
    remove_client(sender);
    return Outcome::Removed;
  }

  const int fd = sender.fd;
  const int old_number = sender.playernum;
  const bool was_playing = old.game_state == GAME_RUNNING && sender.play_state == PLAY_ACTIVE;
  link_client(target, unlink_client(old, sender));

  to_all_members(old, [&](const Client& member) {
    Tprintf(member.fd, TXT_HAS_JOINED_CHANNEL, 6, sender.nick.c_str(), 4, 6, target.name.c_str());
  });
  if (old.game_in_progress()) {
    sender.play_state = PLAY_NONE;
    Tprintf(fd, MSG_ENDGAME);
  }
  sender.field.fill(0);
  Tprintf(fd, MSG_PLAYERLEAVE, old_number);
  sender.playernum = new_number;

  to_all_members(old, [&](const Client& member) {
    if (&member == &sender) return;
    Tprintf(member.fd, MSG_PLAYERLEAVE, old_number);
    Tprintf(fd, MSG_PLAYERLEAVE, member.playernum);
  });
  const int sides_left = count_sides(old, &sender).sides;

  to_all_members(target, [&](const Client& member) {
    if (&member == &sender) return;
    Tprintf(fd, MSG_PLAYERJOIN, member.playernum, member.nick.c_str());
    Tprintf(fd, MSG_TEAM, member.playernum, member.team.c_str());
    Tprintf(member.fd, MSG_PLAYERJOIN, new_number, sender.nick.c_str());
    Tprintf(member.fd, MSG_TEAM, new_number, sender.team.c_str());
    Tprintf(member.fd, TXT_HAS_JOINED_CHANNEL, 12, sender.nick.c_str(), 4, 12,
            target.name.c_str());
  });
  Tprintf(fd, MSG_PLAYERNUM, new_number);

  if (target.game_in_progress()) {
    to_all_members(target, [&](const Client& member) {
      if (&member == &sender) return;
      if (member.play_state != PLAY_ACTIVE) Tprintf(fd, MSG_PLAYERLOST, member.playernum);
      send_field(sender, member);
    });
    Tprintf(fd, MSG_INGAME);
    if (target.game_state == GAME_PAUSED) Tprintf(fd, MSG_PAUSED);
  }

  if (was_playing && old.game_state == GAME_RUNNING && sides_left <= 1) {
    end_game_without_winner(old, nullptr);
  }
  if (old.members.empty() && &old != &target && !old.persistant) delete_channel(old);

  sender.idle_left = server_settings.timeout_outgame;
  sender.play_state = target.game_state == GAME_STOPPED ? PLAY_NONE : PLAY_LOST;
  return Outcome::Kept;
}

void send_join_format(const Client& sender) { Tprintf(sender.fd, TXT_JOIN_FORMAT, 17, 20, 5); }

}  // namespace

Outcome handle_list(Client& sender, std::string_view, std::string_view) {
  if (channel_list.empty()) return Outcome::Kept;
  Tprintf(sender.fd, TXT_LIST_HEADER, 17, 20, 5, 17);
  int number = 0;
  for (const auto& channel : channel_list) {
    ++number;
    const int c = channel.get() == sender.channel ? 20 : 5;
    const char* game = channel->game_state == GAME_RUNNING ? TXT_LIST_INGAME : TXT_LIST_NOT_INGAME;
    const int players = count_players(*channel);
    if (players >= channel->maxplayers) {
      Tprintf(sender.fd, TXT_LIST_FULL, 17, c, number, 17, 5, channel->name.c_str(), 17, 20, 17,
              game, channel->priority, 4, channel->topic.c_str());
    } else {
      Tprintf(sender.fd, TXT_LIST_OPEN, 17, c, number, 17, 5, channel->name.c_str(), 17, 23, 5,
              players, channel->maxplayers, 17, game, channel->priority, 4,
              channel->topic.c_str());
    }
  }
  return Outcome::Kept;
}

Outcome handle_join(Client& sender, std::string_view, std::string_view argument) {
  std::string_view in = argument;
  const std::string_view word = read_word(in);
  if (word.empty()) {
    send_join_format(sender);
    return Outcome::Kept;
  }

  Channel* target = nullptr;
  std::string_view name;
  if (const int number = read_atoi(word); number > 0) {
    target = channel_at(number);
    name = word;
  } else if (word.front() == '#') {
    // "#name" right at the argument's start names "name"; anything else keeps the '#'.
    const bool direct = argument.size() > 1 && argument[0] == '#' && !is_blank(argument[1]);
    std::string_view after_hash = argument.substr(1);
    name = direct ? read_word(after_hash) : word;
  } else {
    send_join_format(sender);
    return Outcome::Kept;
  }
  // A channel is found by the name it would be created with.
  name = name.substr(0, CHANNEL_NAME_MAX);
  if (target == nullptr) target = find_channel(name);

  if (target == nullptr) {
    if (count_channels() >= server_settings.maxchannels) {
      Tprintf(sender.fd, TXT_JOIN_NO_MORE_CHANNELS, 20);
      return Outcome::Kept;
    }
    if (server_settings.command_join == LEVEL_SPECIAL && sender.level != LEVEL_AUTH_OP) {
      Tprintf(sender.fd, TXT_JOIN_CANNOT_CREATE, 20);
      return Outcome::Kept;
    }
    target = &create_channel(name);
    log_msg(4, LOG_JOIN_CREATED, target->name.c_str(), sender.nick.c_str());
    Tprintf(sender.fd, TXT_JOIN_CREATED, 12, 5, target->name.c_str(), 4);
  } else {
    if (count_players(*target) >= target->maxplayers) {
      Tprintf(sender.fd, TXT_JOIN_FULL, 17, 20, 4);
      return Outcome::Kept;
    }
    log_msg(4, LOG_JOIN_JOINED, target->name.c_str(), sender.nick.c_str());
    Tprintf(sender.fd, TXT_JOIN_JOINED, 12, 5, target->name.c_str(), 4);
  }
  return move_to_channel(sender, *target);
}

Outcome handle_who(Client& sender, std::string_view, std::string_view) {
  const bool with_host = sender.level >= LEVEL_AUTH_OP;
  Tprintf(sender.fd, has_level(sender, LEVEL_AUTH_OP) ? TXT_WHO_HEADER_HOST : TXT_WHO_HEADER,
          17);
  int row = 0;
  for (const auto& channel : channel_list) {
    to_all_members(*channel, [&](const Client& member) {
      ++row;
      const int c = &member == &sender ? 20 : 6;
      const std::string nick = padded(member.nick, WHO_NICK_WIDTH);
      const std::string team = padded(member.team, WHO_TEAM_WIDTH);
      if (with_host) {
        Tprintf(sender.fd, TXT_WHO_ROW_HOST, 17, c, row, 17, c, nick.c_str(), 23, team.c_str(), 5,
                channel->name.c_str(), member.host.c_str());
      } else {
        Tprintf(sender.fd, TXT_WHO_ROW, 17, c, row, 17, c, nick.c_str(), 23, team.c_str(), 5,
                channel->name.c_str());
      }
    });
  }
  return Outcome::Kept;
}

Outcome handle_topic(Client& sender, std::string_view text, std::string_view argument) {
  if (text.size() < std::string_view("/topic ").size()) return Outcome::Kept;
  Channel& channel = *sender.channel;
  channel.topic.assign(argument.substr(0, TOPIC_MAX));
  log_msg(4, LOG_TOPIC_CHANGED, channel.name.c_str(), sender.nick.c_str(), channel.topic.c_str());
  to_all_members(channel, [&](const Client& member) {
    Tprintf(member.fd, TXT_TOPIC_CHANGED, 12, sender.nick.c_str(), 4, 12, channel.topic.c_str());
  });
  return Outcome::Kept;
}

Outcome handle_priority(Client& sender, std::string_view, std::string_view argument) {
  const int priority = read_atoi(argument);
  if (priority < PRIORITY_MIN || priority > PRIORITY_MAX) {
    Tprintf(sender.fd, TXT_PRIORITY_RANGE, 17);
    return Outcome::Kept;
  }
  Channel& channel = *sender.channel;
  channel.priority = priority;
  log_msg(4, LOG_PRIORITY_CHANGED, channel.name.c_str(), sender.nick.c_str(), priority);
  to_all_members(channel, [&](const Client& member) {
    Tprintf(member.fd, TXT_PRIORITY_CHANGED, 12, sender.nick.c_str(), 4, 12, priority);
  });
  return Outcome::Kept;
}

Outcome handle_persistant(Client& sender, std::string_view, std::string_view argument) {
  const bool keep = argument.empty() || argument.front() != '0';
  sender.channel->persistant = keep;
  Tprintf(sender.fd, keep ? TXT_PERSISTANT_ON : TXT_PERSISTANT_OFF, 17);
  return Outcome::Kept;
}

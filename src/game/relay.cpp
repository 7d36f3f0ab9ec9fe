// The in-channel dispatch: one table maps each first word to its handler. Chat and
// game messages are checked against their sender and relayed to the members in
// STATE_CHANNEL; anything that fails a check is dropped without a word.
#include "game/relay.h"

#include <string>
#include <string_view>

#include "commands/dispatch.h"
#include "config/settings.h"
#include "core/log.h"
#include "core/text.h"
#include "game/arguments.h"
#include "game/colour.h"
#include "game/field.h"
#include "game/game_control.h"
#include "game/messages.h"
#include "net/socket_table.h"

namespace {

// Members in STATE_CHANNEL other than the sender.
template <typename Send>
void to_other_members(const Client& sender, Send send) {
  for (const auto& member : sender.channel->members) {
    if (member.get() != &sender && member->state == STATE_CHANNEL) send(*member);
  }
}

// Members in STATE_CHANNEL, the sender included.
template <typename Send>
void to_all_members(const Client& sender, Send send) {
  for (const auto& member : sender.channel->members) {
    if (member->state == STATE_CHANNEL) send(*member);
  }
}

const char* channel_name(const Client& client) { return client.channel->name.c_str(); }

// "number text": the number must name the sender. Empty text when absent.
struct NumberAndText {
  bool from_sender = false;
  std::string text;
};

NumberAndText read_number_and_text(const Client& client, std::string_view rest) {
  NumberAndText result;
  const auto number = read_number(rest);
  if (!number || !number_matches(*number, client.playernum)) return result;
  result.from_sender = true;
  result.text.assign(skip_blanks(rest));
  return result;
}

Outcome relay_pline(Client& client, std::string_view rest) {
  const NumberAndText in = read_number_and_text(client, rest);
  if (!in.from_sender || in.text.empty()) return Outcome::Kept;
  if (in.text[0] == '/') return dispatch_command(client, in.text);
  log_msg(5, LOG_PLINE, channel_name(client), client.nick.c_str(), in.text.c_str());
  to_other_members(client, [&](const Client& member) {
    Tprintf(member.fd, MSG_PLINE, client.playernum, BYTE_PLINE, in.text.c_str());
  });
  return Outcome::Kept;
}

Outcome relay_plineact(Client& client, std::string_view rest) {
  const NumberAndText in = read_number_and_text(client, rest);
  if (!in.from_sender || in.text.empty()) return Outcome::Kept;
  log_msg(5, LOG_PLINEACT, channel_name(client), client.nick.c_str(), in.text.c_str());
  to_other_members(client, [&](const Client& member) {
    Tprintf(member.fd, MSG_PLINEACT, client.playernum, in.text.c_str());
  });
  return Outcome::Kept;
}

Outcome relay_team(Client& client, std::string_view rest) {
  const NumberAndText in = read_number_and_text(client, rest);
  if (!in.from_sender || client.play_state != PLAY_NONE) return Outcome::Kept;
  client.team = in.text.substr(0, TEAM_MAX);
  log_msg(5, LOG_TEAM_CHANGE, channel_name(client), client.nick.c_str(), client.team.c_str());
  // The others see the text as sent; only the stored name is cut.
  to_other_members(client, [&](const Client& member) {
    Tprintf(member.fd, MSG_TEAM, client.playernum, in.text.c_str());
  });
  return Outcome::Kept;
}

Outcome relay_gmsg(Client& client, std::string_view rest) {
  const ChannelSettings& settings = client.channel->settings;
  const std::string tag = "<" + client.nick + ">";
  if (settings.pingintercept != 0 && same_text_ignoring_case(rest, tag + " t")) {
    Tprintf(client.fd, MSG_PONG);
    return Outcome::Kept;
  }
  const std::string text(rest);
  log_msg(5, LOG_GMSG, channel_name(client), client.nick.c_str(), text.c_str());
  if (!rest.empty() && rest[0] == '<') {
    // The name part is as long as the sender's own tag; the character after it,
    // normally the blank, is dropped.
    std::string name(rest.substr(0, tag.size()));
    if (settings.stripcolour != 0) name = strip_colour(name);
    const std::string remainder(rest.size() > tag.size() + 1 ? rest.substr(tag.size() + 1) : "");
    to_all_members(client, [&](const Client& member) {
      Tprintf(member.fd, MSG_GMSG_NAMED, name.c_str(), remainder.c_str());
    });
  } else {
    to_all_members(client,
                   [&](const Client& member) { Tprintf(member.fd, MSG_GMSG_TEXT, text.c_str()); });
  }
  return Outcome::Kept;
}

Outcome relay_field(Client& client, std::string_view rest) {
  const NumberAndText in = read_number_and_text(client, rest);
  if (!in.from_sender) return Outcome::Kept;
  to_other_members(client, [&](const Client& member) {
    Tprintf(member.fd, MSG_FIELD, client.playernum, in.text.c_str());
  });
  apply_field_update(client, in.text);
  return Outcome::Kept;
}

bool playing_in_running_game(const Client& client) {
  return client.channel->game_state == GAME_RUNNING && client.play_state == PLAY_ACTIVE;
}

// "lvl number level". A line without a level (or with one beyond int range) is
// dropped like any other message with a missing argument.
Outcome relay_level(Client& client, std::string_view rest) {
  const auto number = read_number(rest);
  const auto level = number ? read_number(rest) : std::nullopt;
  if (!number || !level || !fits_int(*level)) return Outcome::Kept;
  if (!number_matches(*number, client.playernum) || !playing_in_running_game(client)) {
    return Outcome::Kept;
  }
  to_all_members(client, [&](const Client& member) {
    Tprintf(member.fd, MSG_LVL, client.playernum, static_cast<int>(*level));
  });
  return Outcome::Kept;
}

// "sb target special sender". Target and special are passed on uninterpreted; a
// target beyond int range cannot be passed on as a number and drops the message.
Outcome relay_special(Client& client, std::string_view rest) {
  const auto target = read_number(rest);
  if (!target) return Outcome::Kept;
  const std::string special(read_word(rest));
  const auto sender = special.empty() ? std::nullopt : read_number(rest);
  if (!sender || !fits_int(*target)) return Outcome::Kept;
  if (!number_matches(*sender, client.playernum) || !playing_in_running_game(client)) {
    return Outcome::Kept;
  }
  to_other_members(client, [&](const Client& member) {
    Tprintf(member.fd, MSG_SB, static_cast<int>(*target), special.c_str(), client.playernum);
  });
  return Outcome::Kept;
}

Outcome game_pause(Client& client, std::string_view rest) {
  handle_pause(client, rest);
  return Outcome::Kept;
}

Outcome game_startgame(Client& client, std::string_view rest) {
  handle_startgame(client, rest);
  return Outcome::Kept;
}

Outcome game_playerlost(Client& client, std::string_view rest) {
  handle_playerlost(client, rest);
  return Outcome::Kept;
}

struct WordHandler {
  const char* word;
  Outcome (*handler)(Client&, std::string_view rest);
};

constexpr WordHandler WORD_HANDLERS[] = {
    {"pline", relay_pline},
    {"plineact", relay_plineact},
    {"team", relay_team},
    {"gmsg", relay_gmsg},
    {"f", relay_field},
    {"lvl", relay_level},
    {"sb", relay_special},
    {"pause", game_pause},
    {"startgame", game_startgame},
    {"playerlost", game_playerlost},
};

}  // namespace

Outcome handle_channel_line(Client& client, std::string& line) {
  const SplitLine split = split_line(line);
  for (const WordHandler& row : WORD_HANDLERS) {
    if (same_text_ignoring_case(split.word, row.word)) return row.handler(client, split.rest);
  }
  log_msg(1, LOG_INVALID_COMMAND, channel_name(client), client.nick.c_str(), line.c_str());
  return Outcome::Kept;
}

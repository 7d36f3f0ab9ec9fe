// Pre-login queries and the login checks. Each refusal is one "noconnecting" message
// (or silence), then kill_socket and remove_client; the caller gets Outcome::Removed
// and never touches the client again. Query answers are plain "\n" lines.
#include "login/prelogin.h"

#include <string.h>

#include "channel/departure.h"
#include "config/winlist.h"
#include "core/log.h"
#include "core/server.h"
#include "core/text.h"
#include "game/game_control.h"
#include "login/login_decoder.h"
#include "login/messages.h"
#include "net/socket_table.h"

namespace {

constexpr std::size_t SCAN_NICK_MAX = NICK_MAX;        // "%30[^ ]"
constexpr std::size_t SCAN_VERSION_MAX = VERSION_MAX;  // "%10s"

// White space as the C library's scan knows it in the "C" locale.
bool scan_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t skip_space(std::string_view text, std::size_t pos) {
  while (pos < text.size() && scan_space(text[pos])) ++pos;
  return pos;
}

Outcome drop(Client& client) {
  kill_socket(client.fd);
  remove_client(client);
  return Outcome::Removed;
}

void answer_players(const Client& client) {
  log_msg(9, LOG_QUERY_PLAYERS, client.host.c_str());
  Tprintf(client.fd, ANSWER_PLAYERS, count_players(*client.channel));
}

void answer_version(const Client& client) {
  log_msg(9, LOG_QUERY_VERSION, client.host.c_str());
  Tprintf(client.fd, ANSWER_VERSION, SERVER_VERSION, SERVER_BUILD);
}

void answer_listchan(const Client& client) {
  log_msg(9, LOG_QUERY_LISTCHAN, client.host.c_str());
  for (const auto& channel : channel_list) {
    Tprintf(client.fd, ANSWER_CHANNEL, channel->name.c_str(), channel->topic.c_str(),
            count_players(*channel), channel->maxplayers, channel->priority,
            static_cast<int>(channel->game_state));
  }
  Tprintf(client.fd, ANSWER_END);
}

void answer_listuser(const Client& client) {
  log_msg(9, LOG_QUERY_LISTUSER, client.host.c_str());
  for (const auto& channel : channel_list) {
    for (const auto& member : channel->members) {
      if (member->state != STATE_CHANNEL) continue;
      Tprintf(client.fd, ANSWER_USER, member->nick.c_str(), member->team.c_str(),
              member->version.c_str(), member->playernum, static_cast<int>(member->play_state),
              member->level, channel->name.c_str());
    }
  }
  Tprintf(client.fd, ANSWER_END);
}

void answer_winlist(const Client& client) {
  log_write(LOG_QUERY_WINLIST, client.host.c_str());
  for (const WinlistEntry& entry : winlist) {
    if (!entry.used) continue;
    const std::string name(entry.name_text());
    Tprintf(client.fd, ANSWER_WINLIST_ROW, name.c_str(), entry.kind,
            static_cast<unsigned long>(entry.score));
  }
  Tprintf(client.fd, ANSWER_END);
}

struct Query {
  const char* word;
  void (*answer)(const Client&);
};

constexpr Query QUERIES[] = {
    {QUERY_PLAYERS, answer_players},   {QUERY_VERSION, answer_version},
    {QUERY_LISTCHAN, answer_listchan}, {QUERY_LISTUSER, answer_listuser},
    {QUERY_WINLIST, answer_winlist},
};

bool nick_in_use(const Client& client) {
  for (const auto& channel : channel_list) {
    for (const auto& member : channel->members) {
      if (member.get() != &client && member->is_player() &&
          same_text_ignoring_case(member->nick, client.nick)) {
        return true;
      }
    }
  }
  return false;
}

// Steps from the decoded login text on: the scan, the nickname, the version, the
// uniqueness, and acceptance into STATE_TEAM.
Outcome check_login(Client& client, const std::string& text) {
  if (scan_login_text(text, client.nick, client.version) < 2) {
    log_msg(9, LOG_INVALID_BRIKKASTART, client.host.c_str(), text.c_str());
    return drop(client);
  }
  // A nickname carrying the message terminator would forge messages inside every
  // text that names the player, so it is refused like the reserved one.
  const bool forges_frames = client.nick.find('\xff') != std::string::npos;
  if (forges_frames || same_text_ignoring_case(client.nick, RESERVED_NICK)) {
    std::string shown = client.nick;
    std::erase(shown, '\xff');
    log_msg(9, LOG_INVALID_NICK, client.host.c_str(), shown.c_str());
    Tprintf(client.fd, MSG_NICK_NOT_ALLOWED, shown.c_str());
    return drop(client);
  }
  if (client.version != SERVER_VERSION) {
    Tprintf(client.fd, MSG_VERSION_MISMATCH, client.version.c_str(), SERVER_VERSION);
    log_msg(9, LOG_VERSION_NOT_ALLOWED, client.nick.c_str(), client.version.c_str());
    return drop(client);
  }
  if (nick_in_use(client)) {
    Tprintf(client.fd, MSG_NICK_EXISTS);
    log_msg(9, LOG_NICK_EXISTS, client.host.c_str(), client.nick.c_str());
    return drop(client);
  }
  client.team.clear();
  client.state = STATE_TEAM;
  send_winlist(*client.channel, &client);
  Tprintf(client.fd, MSG_PLAYERNUM, client.playernum);
  return Outcome::Kept;
}

}  // namespace

int scan_login_text(std::string_view text, std::string& nick, std::string& version) {
  text = text.substr(0, text.find('\0'));  // the scan reads a C string
  const std::string_view word = LOGIN_WORD;
  if (text.substr(0, word.size()) != word) return 0;
  std::size_t pos = skip_space(text, word.size());

  const std::size_t nick_start = pos;
  while (pos < text.size() && pos - nick_start < SCAN_NICK_MAX && text[pos] != ' ') ++pos;
  if (pos == nick_start) return 0;
  nick.assign(text.substr(nick_start, pos - nick_start));
  pos = skip_space(text, pos);

  const std::size_t version_start = pos;
  while (pos < text.size() && pos - version_start < SCAN_VERSION_MAX && !scan_space(text[pos])) {
    ++pos;
  }
  if (pos == version_start) return 1;
  version.assign(text.substr(version_start, pos - version_start));
  return 2;
}

Outcome handle_init_line(Client& client, std::string& line) {
  // The provisional number reserves nothing until the client reaches STATE_TEAM, so a
  // query to a full channel is refused as well.
  const int number = lowest_free_playernum(*client.channel, &client);
  if (number == 0) {
    Tprintf(client.fd, MSG_SERVER_FULL);
    log_msg(9, LOG_FULL, client.host.c_str());
    return drop(client);
  }
  client.playernum = number;
  log_msg(10, LOG_INIT_LINE, line.c_str());

  for (const Query& query : QUERIES) {
    if (same_text_ignoring_case(line, query.word)) {
      query.answer(client);
      return Outcome::Kept;
    }
  }

  if (line.size() <= SHORT_LINE_MAX) {
    log_msg(9, LOG_INVALID_COMMAND, client.host.c_str());
    return drop(client);
  }
  if (decode_login(line) != 0) {
    log_msg(9, LOG_FAILED_DECRYPTION, client.host.c_str(), line.c_str());
    return drop(client);
  }
  const std::string text = hex_to_text(line);
  log_msg(10, LOG_DECRYPTED, text.c_str());
  return check_login(client, text);
}

// Channel entry. The newcomer learns of the members newest first and each member of
// the newcomer, as one "playerjoin"/"team" piece per introduction; then the message of
// the day, a game in progress (the newcomer sits it out) and the greeting.
#include "login/channel_entry.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "channel/departure.h"
#include "core/log.h"
#include "game/field.h"
#include "login/messages.h"
#include "net/socket_table.h"

namespace {

// White space as the C library's scan knows it in the "C" locale.
bool scan_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string team_prefix(int playernum) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, TEAM_PREFIX, playernum);
  return prefix;
}

void introduce(const Client& to, const Client& about) {
  Tprintf(to.fd, MSG_PLAYERJOIN_TEAM, about.playernum, about.nick.c_str(), about.playernum,
          about.team.c_str());
}

void send_motd(const Client& client) {
  std::ifstream file(MOTD_FILE, std::ios::binary);
  if (!file) return;
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  for (const std::string& piece : motd_pieces(content)) {
    Tprintf(client.fd, MSG_MOTD_LINE, piece.c_str());
  }
}

void show_game_in_progress(const Client& client) {
  const Channel& channel = *client.channel;
  for (const auto& member : channel.members) {
    if (member.get() == &client || member->state != STATE_CHANNEL) continue;
    if (member->play_state != PLAY_ACTIVE) Tprintf(client.fd, MSG_PLAYERLOST, member->playernum);
    send_field(client, *member);
    Tprintf(member->fd, MSG_PLAYERLOST, client.playernum);
  }
  Tprintf(client.fd, MSG_INGAME);
  if (channel.game_state == GAME_PAUSED) Tprintf(client.fd, MSG_PAUSED);
}

}  // namespace

std::vector<std::string> motd_pieces(std::string_view content) {
  // A read that finds a line feed first takes nothing and only skips the white space,
  // so blank lines at the start of the file are passed over like those after a line.
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  while (pos < content.size()) {
    const std::size_t start = pos;
    while (pos < content.size() && pos - start < MOTD_PIECE_MAX && content[pos] != '\n') ++pos;
    if (pos > start) pieces.emplace_back(content.substr(start, pos - start));
    while (pos < content.size() && scan_space(content[pos])) ++pos;
  }
  return pieces;
}

Outcome handle_team_line(Client& client, std::string& line) {
  const std::string prefix = team_prefix(client.playernum);
  if (line.compare(0, prefix.size(), prefix) != 0) {
    log_msg(1, LOG_BAD_TEAM, line.c_str());
    kill_socket(client.fd);
    remove_client(client);
    return Outcome::Removed;
  }
  client.state = STATE_CHANNEL;
  client.play_state = PLAY_NONE;
  client.team = line.substr(prefix.size(), TEAM_MAX);

  Channel& channel = *client.channel;
  for (const auto& member : channel.members) {
    if (member.get() == &client || member->state != STATE_CHANNEL) continue;
    introduce(client, *member);
    introduce(*member, client);
  }
  send_motd(client);
  if (channel.game_in_progress()) show_game_in_progress(client);
  Tprintf(client.fd, MSG_GREETING, GREETING_NICK_BYTE, client.nick.c_str(),
          GREETING_END_NICK_BYTE, GREETING_TEXT_BYTE, channel.name.c_str());
  log_msg(2, LOG_NEW_CONNECTION, channel.name.c_str(), client.nick.c_str());
  return Outcome::Kept;
}

// Socketpair members and message capture for the command tests.
#include "unit/commands_world.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "commands/dispatch.h"
#include "net/socket_table.h"

void CommandsTest::TearDown() {
  ServerStateTest::TearDown();
  for (auto& [nick, peer] : peers_) ::close(peer.fd);
  peers_.clear();
}

Channel& CommandsTest::channel(const std::string& name) { return create_channel(name); }

Client& CommandsTest::member(Channel& channel, int playernum, const std::string& nick,
                             ClientState state, const std::string& team) {
  int fds[2];
  EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  register_socket(fds[0], 0);
  auto client = std::make_unique<Client>();
  client->fd = fds[0];
  client->nick = nick;
  client->team = team;
  client->host = nick + ".example";
  client->playernum = playernum;
  client->state = state;
  peers_[nick].fd = fds[1];
  return link_client(channel, std::move(client));
}

Outcome CommandsTest::run(Client& sender, const std::string& text) {
  return dispatch_command(sender, text);
}

void CommandsTest::pump(Peer& peer) {
  flush_output();
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::recv(peer.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) {
      peer.bytes.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n == 0) peer.eof = true;
    return;
  }
}

std::vector<std::string> CommandsTest::received(const std::string& nick) {
  Peer& peer = peers_.at(nick);
  pump(peer);
  std::vector<std::string> messages;
  std::size_t start = 0;
  for (std::size_t at; (at = peer.bytes.find('\xff', start)) != std::string::npos; start = at + 1) {
    messages.push_back(peer.bytes.substr(start, at - start));
  }
  peer.bytes.erase(0, start);
  return messages;
}

bool CommandsTest::closed(const std::string& nick) {
  Peer& peer = peers_.at(nick);
  pump(peer);
  return peer.eof;
}

void CommandsTest::drain_all() {
  for (auto& [nick, peer] : peers_) received(nick);
}

// Socketpair-backed members for the in-process game and timer tests.
#include "unit/game_support.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "net/socket_table.h"

void GameTest::TearDown() {
  for (const auto& [server_fd, peer] : peer_of_) ::close(peer);
  peer_of_.clear();
  ServerStateTest::TearDown();
}

Client& GameTest::add_member(Channel& channel, const std::string& nick, int playernum,
                             ClientState state, const std::string& team) {
  int fds[2];
  EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  register_socket(fds[0], 0);
  // A descriptor number freed by an earlier removal may come back: forget its past.
  if (const auto old = peer_of_.find(fds[0]); old != peer_of_.end()) ::close(old->second);
  unread_.erase(fds[0]);
  ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
  peer_of_[fds[0]] = fds[1];

  auto client = std::make_unique<Client>();
  client->fd = fds[0];
  client->nick = nick;
  client->team = team;
  client->host = "localhost";
  client->playernum = playernum;
  client->state = state;
  client->idle_left = 1200;
  return link_client(channel, std::move(client));
}

std::string GameTest::read_available(int server_fd) {
  std::string& bytes = unread_[server_fd];
  const auto peer = peer_of_.find(server_fd);
  if (peer == peer_of_.end()) return bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(peer->second, buffer, sizeof buffer);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

std::vector<std::string> GameTest::received_by_fd(int server_fd) {
  std::string bytes = read_available(server_fd);
  std::vector<std::string> messages;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\xff', start)) != std::string::npos; start = end + 1) {
    messages.push_back(bytes.substr(start, end - start));
  }
  unread_[server_fd] = bytes.substr(start);
  return messages;
}

std::vector<std::string> GameTest::received(const Client& member) {
  return received_by_fd(member.fd);
}

bool GameTest::closed_by_server(int server_fd) {
  read_available(server_fd);
  const auto peer = peer_of_.find(server_fd);
  if (peer == peer_of_.end()) return false;
  char byte;
  const ssize_t n = ::read(peer->second, &byte, 1);
  if (n > 0) unread_[server_fd].push_back(byte);
  return n == 0;
}

int GameTest::log_count(const std::string& text) {
  const std::string log = read_file("game.log");
  int count = 0;
  for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
    ++count;
  }
  return count;
}

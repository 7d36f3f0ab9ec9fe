// In-process channel scenes for the login and departure tests: members with real
// descriptors (socketpair, the server end registered in the socket table) and the
// messages each peer received, cut at 0xFF.
#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "channel/records.h"
#include "core/log.h"
#include "net/socket_table.h"
#include "unit/fixture.h"

class ChannelPeersTest : public ServerStateTest {
 protected:
  struct Peer {
    Client* client = nullptr;
    int fd = -1;  // the test's end
  };

  // A member linked at the head of the channel (so add them oldest first).
  Peer add(Channel& channel, const std::string& nick, int playernum,
           ClientState state = STATE_CHANNEL, const std::string& team = "",
           PlayState play = PLAY_NONE) {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    register_socket(fds[0], 0);
    peers_.push_back(fds[1]);
    auto client = std::make_unique<Client>();
    client->fd = fds[0];
    client->nick = nick;
    client->host = "host-" + nick;
    client->playernum = playernum;
    client->state = state;
    client->team = team;
    client->play_state = play;
    client->version = "1.13";
    Client& linked = link_client(channel, std::move(client));
    return {&linked, fds[1]};
  }

  // Everything the peer has received so far (the server writes synchronously).
  static std::string take(int fd) {
    std::string got;
    char buffer[65536];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 0) > 0) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

  // The received bytes as messages; a tail without 0xFF is kept as a last element.
  static std::vector<std::string> messages(int fd) {
    std::vector<std::string> out;
    std::string got = take(fd);
    std::size_t start = 0;
    for (std::size_t at; (at = got.find('\xff', start)) != std::string::npos; start = at + 1) {
      out.push_back(got.substr(start, at - start));
    }
    if (start < got.size()) out.push_back(got.substr(start));
    return out;
  }

  // True when the server closed its end (end of file on the peer).
  static bool closed(int fd) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) return false;
    char c;
    return ::recv(fd, &c, 1, MSG_PEEK) == 0;
  }

  // The log texts without their stamps.
  static std::vector<std::string> log_lines() {
    std::vector<std::string> out;
    const std::string log = read_file(LOG_FILE);
    std::size_t start = 0;
    while (start < log.size()) {
      std::size_t end = log.find('\n', start);
      end = end == std::string::npos ? log.size() : end + 1;
      const std::string line = log.substr(start, end - start);
      out.push_back(line.size() > 16 ? line.substr(16) : line);
      start = end;
    }
    return out;
  }

  void TearDown() override {
    for (int fd : peers_) ::close(fd);
    ServerStateTest::TearDown();
  }

 private:
  std::vector<int> peers_;
};

// Admission: the channel choice over priorities and fill levels, the default channel
// names, and admit_connection over a real loopback listener (placement, a new default
// channel while maxchannels allows, the refusal when it does not).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "login/admission.h"
#include "net/listener.h"
#include "unit/channel_peers.h"

namespace {

class AdmissionTest : public ChannelPeersTest {
 protected:
  // A channel with `players` players (in STATE_CHANNEL) and `waiting` STATE_INIT clients.
  Channel& channel(const std::string& name, int priority, int maxplayers, int players,
                   int waiting = 0) {
    Channel& ch = create_channel(name);
    ch.priority = priority;
    ch.maxplayers = maxplayers;
    for (int i = 1; i <= players; ++i) add(ch, name + std::to_string(i), i);
    for (int i = 0; i < waiting; ++i) add(ch, "???", 0, STATE_INIT);
    return ch;
  }
};

TEST_F(AdmissionTest, ChoosesTheFirstChannelOfHighestPriorityWithRoom) {
  struct Shape {
    int priority, maxplayers, players, waiting;
  };
  struct Case {
    const char* what;
    std::vector<Shape> channels;
    std::optional<int> chosen;  // index into channels
  };
  const Case cases[] = {
      {"no channel", {}, std::nullopt},
      {"full", {{50, 6, 6, 0}}, std::nullopt},
      {"highest wins", {{60, 6, 0, 0}, {60, 6, 0, 0}, {70, 6, 0, 0}}, 2},
      {"first of equals", {{60, 6, 0, 0}, {60, 6, 0, 0}, {70, 6, 6, 0}}, 0},
      {"priority 0 never", {{0, 6, 0, 0}}, std::nullopt},
      {"priority 0 skipped", {{0, 6, 0, 0}, {10, 6, 5, 0}}, 1},
      {"negative priority", {{-5, 6, 0, 0}, {0, 6, 0, 0}, {-3, 6, 0, 0}}, 2},
      {"waiting clients take no place", {{50, 6, 5, 4}}, 0},
      {"no places at all", {{50, 0, 0, 0}, {50, -1, 0, 0}}, std::nullopt},
      {"full higher one skipped", {{70, 6, 0, 0}, {80, 2, 2, 0}, {75, 6, 0, 0}}, 2},
  };
  for (const Case& c : cases) {
    reset_world();
    std::vector<Channel*> made;
    int n = 0;
    for (const Shape& s : c.channels) {
      made.push_back(&channel("c" + std::to_string(++n), s.priority, s.maxplayers, s.players,
                              s.waiting));
    }
    Channel* expected = c.chosen ? made[*c.chosen] : nullptr;
    EXPECT_EQ(choose_channel(), expected) << c.what;
  }
}

TEST_F(AdmissionTest, DefaultChannelNamesSkipNumberOneAndTakenNamesInAnyCase) {
  struct Case {
    std::vector<std::string> existing;
    std::string expected;
  };
  const Case cases[] = {
      {{}, "lineblox"},
      {{"LINEBLOX"}, "lineblox2"},
      {{"lineblox", "lineblox3"}, "lineblox2"},
      {{"lineblox", "lineblox2", "LineBlox3"}, "lineblox4"},
      {{"lineblox2"}, "lineblox"},
  };
  for (const Case& c : cases) {
    reset_world();
    for (const std::string& name : c.existing) create_channel(name);
    EXPECT_EQ(free_default_channel_name(), c.expected);
  }
}

class AdmitOverLoopbackTest : public AdmissionTest {
 protected:
  void SetUp() override {
    AdmissionTest::SetUp();
    int port = 0;
    const int fd = open_listener(port, "127.0.0.1");
    ASSERT_GE(fd, 0);
    listener_.fd = fd;
    listener_.port = port;
    listener_.state = STATE_LISTENER;
  }
  void TearDown() override {
    for (int fd : clients_) ::close(fd);
    AdmissionTest::TearDown();
  }
  // Connects a peer (the backlog completes the handshake) and admits it.
  int connect_and_admit() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(listener_.port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    clients_.push_back(fd);
    admit_connection(listener_);
    return fd;
  }
  // Reads until end of file (bounded by the server closing at once).
  static std::string read_to_close(int fd) {
    std::string got;
    char buffer[256];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 1000) > 0) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n <= 0) return got;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got + "<still open>";
  }

  Client listener_;
  std::vector<int> clients_;
};

TEST_F(AdmitOverLoopbackTest, PlacesIntoANewDefaultChannelUntilMaxchannelsIsReached) {
  server_settings.maxchannels = 2;
  channel("lineblox", 50, 6, 6);

  connect_and_admit();
  ASSERT_EQ(count_channels(), 2);
  const Channel& second = *channel_at(2);
  EXPECT_EQ(second.name, "lineblox2");
  ASSERT_EQ(second.members.size(), 1u);
  const Client& placed = *second.members.front();
  EXPECT_EQ(placed.state, STATE_INIT);
  EXPECT_EQ(placed.nick, "???");
  EXPECT_EQ(placed.port, listener_.port);
  EXPECT_EQ(placed.address, 0x7f000001u);
  EXPECT_FALSE(placed.host.empty());
  EXPECT_LE(placed.host.size(), HOST_MAX);
  EXPECT_EQ(placed.idle_left, server_settings.timeout_outgame);
  EXPECT_EQ(placed.level, 1);
  EXPECT_EQ(find_client_by_fd(placed.fd), &placed);

  // A second waiting client goes to the same channel: it holds no place yet.
  connect_and_admit();
  EXPECT_EQ(count_channels(), 2);
  EXPECT_EQ(second.members.size(), 2u);

  // Once the new channel is full too, maxchannels refuses the next one.
  for (auto& member : channel_at(2)->members) member->state = STATE_CHANNEL;
  channel_at(2)->maxplayers = 2;
  const int refused = connect_and_admit();
  EXPECT_EQ(read_to_close(refused), "noconnecting Server is Full!\xff");
  EXPECT_EQ(count_channels(), 2);
  EXPECT_EQ(channel_at(2)->members.size(), 2u);
  EXPECT_EQ(log_lines().back(), "Server FULL - Denying\n");
}

}  // namespace

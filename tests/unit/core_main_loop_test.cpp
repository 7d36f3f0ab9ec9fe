// The main loop's timer tick, driven by a replaced clock: one tick per pass at most,
// seconds that passed while the loop was busy are not made up, and a line from a
// socket nobody owns is dropped.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ctime>

#include "channel/records.h"
#include "core/clock.h"
#include "core/server.h"
#include "net/socket_table.h"
#include "unit/fixture.h"

namespace {

std::time_t fake_now = 0;
std::time_t fake_clock() { return fake_now; }

class MainLoopTest : public ServerStateTest {
 protected:
  void SetUp() override {
    ServerStateTest::SetUp();
    set_clock_for_tests(fake_clock);
  }
  void TearDown() override {
    set_clock_for_tests(nullptr);
    for (int fd : peers_) ::close(fd);
    ServerStateTest::TearDown();
  }
  int socket_pair(int& peer) {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    register_socket(fds[0], 0);
    peer = fds[1];
    peers_.push_back(peer);
    return fds[0];
  }

 private:
  std::vector<int> peers_;
};

TEST_F(MainLoopTest, TicksOncePerPassAndDoesNotMakeUpLostSeconds) {
  Channel& channel = create_channel("lineblox");
  int idle_peer = -1;
  auto client = std::make_unique<Client>();
  client->fd = socket_pair(idle_peer);
  client->state = STATE_CHANNEL;
  client->idle_left = 10;
  Client& idle = link_client(channel, std::move(client));

  // Lines from a socket no client owns keep every pass from waiting.
  int stray_peer = -1;
  socket_pair(stray_peer);
  const std::string lines = "a\xff" "b\xff" "c\xff" "d\xff";
  ASSERT_EQ(::write(stray_peer, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));

  fake_now = 1000000;
  run_pass();  // the first pass after start-up ticks
  EXPECT_EQ(idle.idle_left, 9);
  run_pass();  // same second: no tick
  EXPECT_EQ(idle.idle_left, 9);
  fake_now += 3;
  run_pass();  // three seconds later: one tick, not three
  EXPECT_EQ(idle.idle_left, 8);
  fake_now += 1;
  run_pass();
  EXPECT_EQ(idle.idle_left, 7);
}

}  // namespace

// Hostile input on the game port before login: random bytes, long lines without a
// terminator, partial lines left open and a peer that never reads. The server must
// stay up, keep its players and answer the next client as usual.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <deque>
#include <random>
#include <string>

#include "support/server_harness.h"

using namespace e2e;

namespace {

// Bytes a broken or hostile peer might send: mostly noise, with terminators and query
// words mixed in, and now and then a long run without a terminator. NUL bytes only
// when asked for: a NUL drops the rest of the read it arrives in.
std::string noise(std::mt19937& random, bool with_nul) {
  std::string bytes;
  const int pieces = 1 + static_cast<int>(random() % 6);
  for (int i = 0; i < pieces; ++i) {
    switch (random() % 6) {
      case 0:
        bytes.append(3000, static_cast<char>('a' + random() % 26));
        break;
      case 1:
        bytes += "version\n";
        break;
      case 2:
        bytes += std::string(1, FF) + '\n';
        if (with_nul) bytes.push_back('\0');
        break;
      default:
        for (int n = static_cast<int>(random() % 200); n > 0; --n) {
          bytes.push_back(static_cast<char>(with_nul ? random() % 256 : 1 + random() % 255));
        }
    }
  }
  return bytes;
}

}  // namespace

TEST(Robustness, HostileBytesBeforeLoginLeaveTheServerAndItsPlayersIntact) {
  ServerProcess server;
  server.start_ok();
  TestClient alice;
  ASSERT_TRUE(alice.connect());
  ASSERT_EQ(alice.join("alice"), 1);

  // A peer that asks and never reads: its answers pile up in the server.
  TestClient deaf;
  const int small = 1024;
  ASSERT_TRUE(deaf.connect());
  ::setsockopt(deaf.fd(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  std::string queries;
  for (int i = 0; i < 2000; ++i) queries += "listuser\n";
  deaf.send_raw(queries);

  // Most noisy peers end with a line that is neither query nor login, so the server
  // has taken in all of their bytes once it closes the connection. The others leave a
  // partial line open or send NUL bytes.
  std::mt19937 random(31457);
  std::deque<TestClient> hostile(40);
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    ASSERT_TRUE(hostile[i].connect());
    if (i % 4 == 0) {
      hostile[i].send_raw(std::string(500, 'x'));
    } else if (i % 4 == 1) {
      hostile[i].send_raw(noise(random, true));
    } else {
      hostile[i].send_raw(noise(random, false) + FF + "no such query\n");
    }
  }
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    if (i % 4 >= 2) {
      EXPECT_TRUE(hostile[i].wait_closed(10s)) << "peer " << i;
    }
  }

  TestClient fresh;
  ASSERT_TRUE(fresh.connect());
  fresh.send_raw("version\n");
  EXPECT_EQ(fresh.read_plain_line(20s), "1.13.16");
  EXPECT_EQ(fresh.read_plain_line(), "+OK");

  TestClient bob;
  ASSERT_TRUE(bob.connect());
  ASSERT_EQ(bob.join("bob"), 2);
  EXPECT_EQ(alice.read_message(), "playerjoin 2 bob");
  EXPECT_EQ(alice.read_message(), "team 2 ");

  EXPECT_TRUE(server.daemon_running());
  EXPECT_EQ(server.stop(), 0);
  EXPECT_EQ(server.read_file("game.log").find("Internal Error"), std::string::npos);
}

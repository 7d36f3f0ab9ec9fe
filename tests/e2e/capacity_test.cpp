// Many connections at once: the server takes ten thousand of them, descriptors past
// 1024 included, and still answers every one.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <deque>

#include "support/server_harness.h"

using namespace e2e;

TEST(Capacity, TakesTenThousandConnectionsAndServesTheNewestAndAFreshOne) {
  constexpr int CONNECTIONS = 10000;
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_max < CONNECTIONS + 100) GTEST_SKIP() << "descriptor limit too low here";
  limit.rlim_cur = limit.rlim_max;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);

  ServerProcess server;
  server.start_ok();
  std::deque<TestClient> clients(CONNECTIONS);
  for (TestClient& client : clients) ASSERT_TRUE(client.connect());

  TestClient fresh;
  ASSERT_TRUE(fresh.connect());
  fresh.send_raw("version\n");
  EXPECT_EQ(fresh.read_plain_line(60s), "1.13.16");
  EXPECT_EQ(fresh.read_plain_line(), "+OK");
  clients.back().send_raw("playerquery\n");
  EXPECT_EQ(clients.back().read_plain_line(10s), "Number of players logged in: 0");
  clients.front().send_raw("playerquery\n");
  EXPECT_EQ(clients.front().read_plain_line(10s), "Number of players logged in: 0");
}

// Start-up, the pid file, fatal start-up checks and the SIGTERM shutdown, seen from
// outside: exit statuses, standard output and the files left in the directory.
#include <gtest/gtest.h>

#include "support/server_harness.h"

using namespace e2e;

TEST(Startup, StartsInBackgroundWithBannerListeningLineAndPidFile) {
  ServerProcess server;
  const auto started = server.start();
  ASSERT_EQ(started.status, 0);
  EXPECT_EQ(started.out, "");
  ASSERT_TRUE(server.daemon_running());
  EXPECT_EQ(server.read_file("game.pid"), std::to_string(server.daemon_pid()));
  const std::string log = server.read_file("game.log");
  EXPECT_NE(log.find(" \nLineblox for Linux V1.13.16\n---------------------------------\n"),
            std::string::npos);
  EXPECT_NE(log.find(" Listening at telnet port 31457, on socket "), std::string::npos);
  EXPECT_NE(log.find(", bound to 0.0.0.0\n"), std::string::npos);
  EXPECT_EQ(server.stop(), 0);
}

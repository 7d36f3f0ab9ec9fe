// Start-up, the pid file, fatal start-up checks and the SIGTERM shutdown, seen from
// outside: exit statuses, standard output and the files left in the directory.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

TEST(Startup, PortInUseStopsWithStatusOneBeforeForking) {
  ServerProcess server;
  const int blocker = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(GAME_PORT);
  ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(blocker, 1), 0);

  const auto started = server.start();
  ::close(blocker);
  EXPECT_EQ(started.status, 1);
  EXPECT_EQ(started.out, "ERROR\nCouldn't find telnet port 31457. (Lineblox already running?)\n");
  EXPECT_NE(server.read_file("game.log").find(" Couldn't find telnet port 31457.\n"),
            std::string::npos);
  EXPECT_FALSE(server.file_exists("game.pid"));
}

TEST(Startup, HostNameWithoutDotIsFatalWhenTheResolverKnowsNoDottedName) {
  char name[256] = {};
  ::gethostname(name, sizeof name - 1);
  const hostent* found = ::gethostbyname(name);
  bool dotted = std::string(name).find('.') != std::string::npos;
  if (found != nullptr) {
    dotted = dotted || std::string(found->h_name).find('.') != std::string::npos;
    if (found->h_aliases != nullptr && found->h_aliases[0] != nullptr) {
      dotted = dotted || std::string(found->h_aliases[0]).find('.') != std::string::npos;
    }
  }
  if (found == nullptr || dotted) GTEST_SKIP() << "this machine has a dotted name";
  ServerProcess server;
  const auto started = server.start({"HOSTNAME"});
  EXPECT_EQ(started.status, 1);
  EXPECT_EQ(started.out, "Can't determine your hostname!\n");
}

TEST(Shutdown, TermRemovesThePidFileWritesTheWinlistAndEndsWithZero) {
  ServerProcess server;
  server.start_ok();
  TestClient client;
  ASSERT_TRUE(client.connect());
  EXPECT_EQ(server.stop(), 0);
  EXPECT_FALSE(server.file_exists("game.pid"));
  EXPECT_TRUE(server.wait_for_log(" Got TERM Signal - Quitting\n"));
  EXPECT_TRUE(client.wait_closed());
}

// The stored files seen from outside: game.conf created or refused at start-up,
// the game.secure template, and game.winlist carried across a restart.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/config_files.h"
#include "support/server_harness.h"

using namespace e2e;

namespace {

// One used winlist row ('p', "Bob", 3 points) followed by 99 empty ones.
std::string one_row_winlist() {
  std::string image(4800, '\0');
  image[0] = 'p';
  image.replace(1, 3, "Bob");
  image[32] = 3;
  image[40] = 1;
  return image;
}

TEST(ConfigFiles, FreshStartWritesDefaultsAndTemplate) {
  ServerProcess server;
  server.start_ok();
  EXPECT_EQ(server.read_file("game.conf"), config_files::DEFAULT_GAME_CONF);
  EXPECT_EQ(server.read_file("game.secure"), config_files::GAME_SECURE_TEMPLATE);
  const std::string log = server.read_file("game.log");
  EXPECT_NE(log.find(" No game definitions found. Creating game.conf file with defaults.\n"),
            std::string::npos);
  EXPECT_NE(log.find(" Wrote new game configuration to game.conf\n"), std::string::npos);
  EXPECT_NE(log.find(" Wrote new security configuration to game.secure\n"), std::string::npos);
  EXPECT_EQ(log.find("Unknown Identifier"), std::string::npos);

  EXPECT_EQ(server.stop(), 0);
  EXPECT_EQ(server.read_file("game.winlist"), std::string(4800, '\0'));
  EXPECT_FALSE(server.file_exists("game.pid"));
}

TEST(ConfigFiles, ExistingFilesAreReadNotRewritten) {
  ServerProcess server;
  server.write_file("game.conf", "");
  server.write_file("game.secure", "op_password=letmein\n");
  server.write_file("game.winlist", one_row_winlist());
  server.start_ok();
  EXPECT_EQ(server.read_file("game.conf"), "");
  EXPECT_EQ(server.read_file("game.secure"), "op_password=letmein\n");
  const std::string log = server.read_file("game.log");
  EXPECT_EQ(log.find("No game definitions found"), std::string::npos);
  EXPECT_NE(log.find(" Read game configuration from game.conf\n"), std::string::npos);
  EXPECT_NE(log.find(" Read security configuration from game.secure\n"), std::string::npos);

  // The winlist read at start-up is what shutdown writes back.
  EXPECT_EQ(server.stop(), 0);
  EXPECT_EQ(server.read_file("game.winlist"), one_row_winlist());
}

TEST(ConfigFiles, BadDefaultsStopTheStart) {
  const struct {
    std::string conf;
    std::string out;
  } cases[] = {
      {"block_line=16\n", "Block percentages MUST add up to 100%\n"},
      {"block_line=16\nspecial_addline=0\n", "Block percentages MUST add up to 100%\n"},
      {"level_increase=-1\n", "Level increase must be in the range 0 to 50\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conf);
    ServerProcess server;
    server.write_file("game.conf", c.conf);
    const auto started = server.start();
    EXPECT_EQ(started.status, 1);
    EXPECT_EQ(started.out, c.out);
    EXPECT_FALSE(server.file_exists("game.pid"));
  }
}

TEST(ConfigFiles, PresetChannelDefaultsAreNotChecked) {
  ServerProcess server;
  server.write_file("game.conf", "[Lobby]\nstarting_level=0\n");
  server.start_ok();
  EXPECT_EQ(server.stop(), 0);
}

TEST(ConfigFiles, UnwritableGameConfIsFatal) {
  ServerProcess server;
  // A link into a directory that does not exist: it can be neither read nor written.
  std::filesystem::create_symlink("no/such/dir/game.conf", server.path("game.conf"));
  const auto started = server.start();
  EXPECT_EQ(started.status, 1);
  EXPECT_EQ(started.out, "Can't write game.conf. Check permissions!\n");
  EXPECT_FALSE(server.file_exists("game.pid"));
}

}  // namespace

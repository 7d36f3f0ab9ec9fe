// game.secure: the template's exact bytes and how the password line is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/game_secure.h"
#include "config/settings.h"
#include "support/config_files.h"
#include "unit/fixture.h"

namespace {

using GameSecureTest = ServerStateTest;

TEST_F(GameSecureTest, TemplateByteForByteAndReadsAsNoPassword) {
  ASSERT_EQ(write_game_secure(), 0);
  EXPECT_EQ(read_file("game.secure"), config_files::GAME_SECURE_TEMPLATE);
  server_settings.op_password = "stale";
  ASSERT_EQ(read_game_secure(), 0);
  EXPECT_EQ(server_settings.op_password, "");
  const std::string log = read_file("game.log");
  EXPECT_NE(log.find(" Wrote new security configuration to game.secure\n"), std::string::npos);
  EXPECT_NE(log.find(" Read security configuration from game.secure\n"), std::string::npos);
  EXPECT_EQ(log.find("Unknown Identifier"), std::string::npos);
}

TEST_F(GameSecureTest, MissingFileEmptiesThePassword) {
  server_settings.op_password = "stale";
  EXPECT_EQ(read_game_secure(), -1);
  EXPECT_EQ(server_settings.op_password, "");
  EXPECT_FALSE(file_exists("game.log"));
}

TEST_F(GameSecureTest, ReadingRules) {
  const struct {
    const char* what;
    std::string file;
    std::string password;
    std::string unknown;  // the logged line, if any
  } cases[] = {
      {"plain", "op_password=qz8opw\n", "qz8opw", ""},
      {"cut to 11", "op_password=abcdefghijklmnop\n", "abcdefghijk", ""},
      {"ends at white space", "  op_password = pass word\n", "pass", ""},
      {"ends at tab", "op_password=pw\tx\n", "pw", ""},
      {"comment", "op_password=pw# note\n", "pw", ""},
      {"key in capitals", "OP_PASSWORD=Secret\n", "Secret", ""},
      {"nothing after '='", "op_password=\n", "", ""},
      {"later line wins", "op_password=one\nop_password=two\n", "two", ""},
      {"other keys are unknown here", "verbose=3\n", "", "verbose=3"},
      {"no sections in this file", "[x]\n", "", "[x]"},
      {"empty key", "=pw\n", "", "=pw"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove("game.log");
    write_file("game.secure", c.file);
    ASSERT_EQ(read_game_secure(), 0);
    EXPECT_EQ(server_settings.op_password, c.password);
    const std::string log = read_file("game.log");
    if (c.unknown.empty()) {
      EXPECT_EQ(log.find("Unknown Identifier"), std::string::npos);
    } else {
      EXPECT_NE(log.find(" game.secure: Unknown Identifier: " + c.unknown + "\n"),
                std::string::npos)
          << log;
    }
  }
}

TEST_F(GameSecureTest, TemplateCannotBeCreated) {
  std::filesystem::create_directory("game.secure");
  EXPECT_EQ(write_game_secure(), -1);
  EXPECT_FALSE(file_exists("game.log"));
}

}  // namespace

// The log: levels against verbose, the stamp, the 767-byte cut and texts that are
// never read as a format.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "core/log.h"
#include "unit/fixture.h"

namespace {

class LogTest : public ServerStateTest {};

// The texts of the entries (stamp and separator removed).
std::vector<std::string> entries(const std::string& log) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < log.size()) {
    std::size_t end = log.find('\n', at);
    end = end == std::string::npos ? log.size() : end + 1;
    out.push_back(log.substr(at + 16, end - at - 16));
    at = end;
  }
  return out;
}

TEST_F(LogTest, LevelsAgainstVerbose) {
  server_settings.verbose = 4;
  log_msg(4, "four\n");
  log_msg(5, "five\n");
  server_settings.verbose = -1;
  log_msg(0, "zero\n");
  log_write("direct\n");
  EXPECT_EQ(entries(read_file("game.log")), (std::vector<std::string>{"four\n", "direct\n"}));
}

TEST_F(LogTest, StampIsFifteenCharactersOfLocalTime) {
  const std::string stamp = log_stamp(0);
  EXPECT_EQ(stamp.size(), 15u);
  EXPECT_EQ(stamp[3], ' ');
  EXPECT_EQ(stamp[6], ' ');
  EXPECT_EQ(stamp[9], ':');
  log_msg(0, "x\n");
  const std::string log = read_file("game.log");
  ASSERT_EQ(log.size(), 15u + 1 + 2);
  EXPECT_EQ(log.substr(15), " x\n");
}

TEST_F(LogTest, ArgumentsAreNotReadAsFormats) {
  log_msg(0, "%s said %s\n", "bob", "%s%n%d");
  EXPECT_EQ(entries(read_file("game.log")), (std::vector<std::string>{"bob said %s%n%d\n"}));
}

TEST_F(LogTest, LongTextsAreCutKeepingTheirNewline) {
  log_msg(0, "%s\n", std::string(2000, 'a').c_str());
  log_msg(0, "%s", std::string(2000, 'b').c_str());
  log_msg(0, "next\n");
  const std::string log = read_file("game.log");
  const std::string first = log.substr(0, 16 + 767);
  EXPECT_EQ(first.substr(16), std::string(766, 'a') + "\n");
  EXPECT_EQ(log.substr(16 + 767, 16 + 767).substr(16), std::string(767, 'b'));
  EXPECT_EQ(log.substr(2 * (16 + 767) + 15), " next\n");
}

TEST_F(LogTest, DeletedLogIsCreatedAgain) {
  log_msg(0, "one\n");
  std::remove("game.log");
  log_msg(0, "two\n");
  EXPECT_EQ(entries(read_file("game.log")), (std::vector<std::string>{"two\n"}));
}

}  // namespace

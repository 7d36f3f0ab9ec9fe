// /winlist lines, /clear emptying the table and its file, and the answers of /save
// and /reset, including the files that cannot be written or read.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/settings.h"
#include "config/winlist.h"
#include "unit/commands_world.h"

namespace {

using Messages = std::vector<std::string>;

void put_row(int i, char kind, const std::string& name, std::uint64_t score) {
  winlist[i].kind = kind;
  winlist[i].set_name(name);
  winlist[i].score = score;
  winlist[i].used = 1;
}

TEST_F(CommandsTest, WinlistShowsTheTopRowsMarkingTheSender) {
  put_row(0, KIND_PLAYER, "Bob", 5000000000ULL);
  put_row(1, KIND_PLAYER, "bob", 12);
  put_row(2, KIND_TEAM, "Red", 3);
  put_row(3, KIND_TEAM, "red", 3);
  Client& me = member(channel("lobby"), 1, "Bob", STATE_CHANNEL, "red");

  run(me, "/WINLIST");
  EXPECT_EQ(received("Bob"), (Messages{"pline 0 \x05Top 10 Winlist",
                                       "pline 0 \x14" "1. 5000000000 - Player Bob",
                                       "pline 0 \x04" "2.   12 - Player bob",
                                       "pline 0 \x04" "3.    3 - Team Red",
                                       "pline 0 \x14" "4.    3 - Team red"}));
  run(me, "/winlist 2");
  EXPECT_EQ(received("Bob"), (Messages{"pline 0 \x05Top 2 Winlist",
                                       "pline 0 \x14" "1. 5000000000 - Player Bob",
                                       "pline 0 \x04" "2.   12 - Player bob"}));
  for (const std::string& text :
       std::vector<std::string>{"/winlist 0", "/winlist 101", "/winlist abc", "/winlist ",
                                "/winlistx", "/winlist 4294967297", "/winlist " + std::string(600, '9')}) {
    run(me, text);
    EXPECT_TRUE(received("Bob").empty()) << text;
  }
  run(me, "/winlist 100");
  EXPECT_EQ(received("Bob").size(), 5u);
}

TEST_F(CommandsTest, ClearEmptiesTableAndFileAndTellsTheSendersChannel) {
  put_row(0, KIND_PLAYER, "Bob", 9);
  Channel& lobby = channel("lobby");
  Client& me = member(lobby, 1, "me");
  member(lobby, 2, "mate");
  member(channel("other"), 1, "far");
  me.level = 3;

  run(me, "/clear");
  EXPECT_EQ(winlist[0].used, 0);
  EXPECT_EQ(received("me"), Messages{"winlist"});
  EXPECT_EQ(received("mate"), Messages{"winlist"});
  EXPECT_TRUE(received("far").empty());
  const std::string file = read_file("game.winlist");
  ASSERT_EQ(file.size(), WINLIST_FILE_SIZE);
  for (std::size_t row = 0; row < WINLIST_ROWS; ++row) {
    EXPECT_EQ(file[row * WINLIST_RECORD_SIZE + 40], 0) << row;
  }
  EXPECT_NE(read_file("game.log").find("#lobby-me cleared the winlist\n"), std::string::npos);
  run(me, "/winlist");
  EXPECT_EQ(received("me"), Messages{"pline 0 \x05Top 10 Winlist"});
}

TEST_F(CommandsTest, SaveAndResetSayWhetherGameConfWasWrittenOrRead) {
  Client& me = member(channel("lobby"), 1, "me");
  me.level = 3;

  run(me, "/reset");
  EXPECT_EQ(received("me"), Messages{"pline 0 \x11No game configuration found!"});

  std::filesystem::create_directory("game.conf");  // cannot be written as a file
  run(me, "/save");
  EXPECT_EQ(received("me"), Messages{"pline 0 \x11Game configuration could NOT be saved!"});
  EXPECT_NE(read_file("game.log").find("Game configuration could NOT be saved!\n"),
            std::string::npos);
  std::filesystem::remove("game.conf");

  server_settings.maxchannels = 7;
  run(me, "/save");
  EXPECT_EQ(received("me"),
            Messages{"pline 0 \x11Game configuration and Persistant Channel info saved"});
  server_settings.maxchannels = 2;
  run(me, "/reset");
  EXPECT_EQ(received("me"),
            Messages{"pline 0 \x11Game configuration and Persistant Channel info loaded"});
  EXPECT_EQ(server_settings.maxchannels, 7);
}

}  // namespace

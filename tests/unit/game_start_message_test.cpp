// The game start message built from a channel's settings, and what a start or stop
// leaves behind: the sudden-death phase and the winlist reloaded from its file.
#include <gtest/gtest.h>

#include "config/winlist.h"
#include "game/game_control.h"
#include "game/relay.h"
#include "unit/game_support.h"

namespace {

std::string repeat(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

TEST(GameStartMessage, DefaultSettings) {
  const std::string expected =
      "newgame 0 1 2 1 1 1 18 " + repeat('3', 14) + repeat('5', 14) + repeat('2', 15) +
      repeat('4', 14) + repeat('6', 14) + repeat('7', 14) + repeat('1', 15) + " " +
      repeat('1', 32) + repeat('2', 18) + "3" + repeat('4', 11) + repeat('5', 3) + repeat('6', 14) +
      "7" + repeat('8', 6) + repeat('9', 14) + " 1 1\xff";
  EXPECT_EQ(game_start_message(ChannelSettings{}), expected);
}

TEST(GameStartMessage, OrderOfNumbersAndEmptyCounts) {
  ChannelSettings s;
  s.starting_level = 7;
  s.lines_per_level = 8;
  s.level_increase = 9;
  s.lines_per_special = 10;
  s.special_added = 11;
  s.special_capacity = 12;
  s.block_leftl = 0;
  s.block_leftz = -5;
  s.block_square = 2;
  s.block_rightl = 0;
  s.block_rightz = 0;
  s.block_halfcross = 0;
  s.block_line = 1;
  s.special_addline = 0;
  s.special_clearline = 0;
  s.special_nukefield = 0;
  s.special_randomclear = 0;
  s.special_switchfield = 0;
  s.special_clearspecial = 0;
  s.special_gravity = 0;
  s.special_quakefield = 0;
  s.special_blockbomb = 3;
  s.average_levels = 0;  // average before classic
  s.classic_rules = 1;
  EXPECT_EQ(game_start_message(s), "newgame 0 7 8 9 10 11 12 221 999 0 1\xff");
}

// Counts no client could use must not make the server build gigabytes: the message
// never outgrows what one send keeps, and its start is still exact.
TEST(GameStartMessage, HugeCountsStayBounded) {
  ChannelSettings s;
  s.block_leftl = 2000000000;
  s.special_blockbomb = 2000000000;
  const std::string message = game_start_message(s);
  EXPECT_LE(message.size(), 1100u);
  EXPECT_EQ(message.rfind("newgame 0 1 2 1 1 1 18 333", 0), 0u);
  EXPECT_EQ(message.back(), '\xff');
}

class StartGameTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    channel = &create_channel("lineblox");
    p2 = &add_member(*channel, "Bob", 2);
    p1 = &add_member(*channel, "Alice", 1);
  }
  void say(Client& client, std::string line) { handle_channel_line(client, line); }

  Channel* channel = nullptr;
  Client* p1 = nullptr;
  Client* p2 = nullptr;
};

TEST_F(StartGameTest, StartArmsSuddenDeathOnlyWithPositiveTimeout) {
  channel->settings.sd_timeout = 5;
  say(*p1, "startgame 1 1");
  EXPECT_EQ(channel->game_state, GAME_RUNNING);
  EXPECT_EQ(channel->sd_phase, SD_WAITING);
  EXPECT_EQ(channel->sd_countdown, 5);

  // A won game leaves the phase adding; the next start without sudden death clears it.
  channel->game_state = GAME_STOPPED;
  channel->sd_phase = SD_ADDING;
  channel->settings.sd_timeout = 0;
  say(*p1, "startgame 1 1");
  EXPECT_EQ(channel->game_state, GAME_RUNNING);
  EXPECT_EQ(channel->sd_phase, SD_OFF);

  channel->settings.sd_timeout = 3;
  say(*p1, "startgame 0 1");
  EXPECT_EQ(channel->game_state, GAME_STOPPED);
  EXPECT_EQ(channel->sd_phase, SD_WAITING);  // armed for a stop as well
  EXPECT_EQ(channel->sd_countdown, 3);
}

TEST_F(StartGameTest, MembersInTeamStateTakeNoPart) {
  Client& waiting = add_member(*channel, "Carol", 3, STATE_TEAM);
  waiting.play_state = PLAY_NONE;
  p2->field.fill(5);
  say(*p1, "startgame 1 1");
  // Members in list order (Alice, then Bob): each gets the start, then its cleared
  // field goes to the others, so Bob sees Alice's field before his own start.
  std::string start = game_start_message(channel->settings);
  start.pop_back();
  const std::string cleared(264, '0');
  EXPECT_EQ(received(*p1), (std::vector<std::string>{start, "f 2 " + cleared}));
  EXPECT_EQ(received(*p2), (std::vector<std::string>{"f 1 " + cleared, start}));
  EXPECT_TRUE(received(waiting).empty());
  EXPECT_EQ(p1->play_state, PLAY_ACTIVE);
  EXPECT_EQ(p1->idle_left, server_settings.timeout_ingame);
  EXPECT_EQ(waiting.play_state, PLAY_NONE);
}

// Numbers beyond int range read but match nobody; they never wrap onto a number.
TEST_F(StartGameTest, NumbersThatDoNotNameTheSenderAreDropped) {
  for (const char* line :
       {"startgame 1 4294967297", "startgame 4294967297 1", "startgame 1", "startgame",
        "startgame 1 -1", "startgame 1 2", "startgame x 1", "startgame 2 1"}) {
    SCOPED_TRACE(line);
    say(*p1, line);
    EXPECT_EQ(channel->game_state, GAME_STOPPED);
    EXPECT_TRUE(received(*p1).empty());
  }
  say(*p2, "startgame 1 2");  // not the chanop
  EXPECT_EQ(channel->game_state, GAME_STOPPED);
}

// The table follows game.winlist at every start and stop that a startgame line makes,
// and only then: a line that starts or stops nothing reloads nothing.
TEST_F(StartGameTest, StartAndStopReloadTheWinlistFromItsFile) {
  auto image_of = [](char kind, const char* name, std::uint64_t score) {
    WinlistTable table{};
    table[0].kind = kind;
    table[0].set_name(name);
    table[0].score = score;
    table[0].used = 1;
    return winlist_image(table);
  };
  winlist[0].kind = KIND_PLAYER;
  winlist[0].set_name("Memory");
  winlist[0].score = 9;
  winlist[0].used = 1;

  write_file("game.winlist", image_of(KIND_TEAM, "Red", 6));
  say(*p2, "startgame 1 2");  // not the chanop
  EXPECT_EQ(winlist_message(winlist), "winlist pMemory;9\xff");
  say(*p1, "startgame 1 1");
  EXPECT_EQ(winlist_message(winlist), "winlist tRed;6\xff");

  write_file("game.winlist", image_of(KIND_PLAYER, "Bob", 12));
  say(*p1, "startgame 1 1");  // already running
  EXPECT_EQ(winlist_message(winlist), "winlist tRed;6\xff");
  say(*p1, "startgame 0 1");
  EXPECT_EQ(winlist_message(winlist), "winlist pBob;12\xff");

  std::string invalid = image_of(KIND_PLAYER, "Bob", 12);
  invalid[0] = 'x';
  write_file("game.winlist", invalid);
  say(*p1, "startgame 1 1");
  EXPECT_EQ(winlist_message(winlist), "winlist\xff");
  EXPECT_EQ(log_count(" Invalid Winlist - Resetting to 0!\n"), 1);
}

}  // namespace

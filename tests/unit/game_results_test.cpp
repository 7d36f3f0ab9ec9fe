// Losses and the winner: who is told what, which side wins (teams without regard to
// case, first member of the side in list order) and the credit in the winlist.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/log.h"
#include "game/game_control.h"
#include "game/relay.h"
#include "unit/game_support.h"

namespace {

using Messages = std::vector<std::string>;

class ResultsTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    channel = &create_channel("lineblox");
  }
  void say(Client& client, std::string line) { handle_channel_line(client, line); }
  // Starts the game as player 1 and forgets what the start sent.
  void start(Client& chanop) {
    say(chanop, "startgame 1 1");
    for (const auto& member : channel->members) received(*member);
  }
  // Messages without the fields, whose wire form is tested with the field code.
  Messages without_fields(const Client& member) {
    Messages out;
    for (std::string& m : received(member)) {
      if (m.rfind("f ", 0) != 0) out.push_back(std::move(m));
    }
    return out;
  }

  Channel* channel = nullptr;
};

TEST_F(ResultsTest, LastPlayerStandingWins) {
  Client& p2 = add_member(*channel, "Bob", 2);
  Client& p1 = add_member(*channel, "Alice", 1);
  start(p1);
  say(p2, "playerlost 2");
  const Messages end = {"endgame", "playerwon 1", "pline 0 ---- Player Alice\x04 WON ----",
                        "winlist pAlice;3"};
  Messages to_winner = {"playerlost 2"};
  to_winner.insert(to_winner.end(), end.begin(), end.end());
  EXPECT_EQ(without_fields(p1), to_winner);
  EXPECT_EQ(without_fields(p2), end);
  EXPECT_EQ(channel->game_state, GAME_STOPPED);
  EXPECT_EQ(p1.play_state, PLAY_NONE);
  EXPECT_EQ(p2.play_state, PLAY_NONE);
  EXPECT_EQ(p1.idle_left, server_settings.timeout_outgame);
}

// A member that entered during the game is told of the end and shown the stored
// fields, but was never told of the loss; a player still stating its team (even one
// left marked as playing) neither counts nor hears anything but the new winlist.
TEST_F(ResultsTest, WatchersAndWaitingPlayersAtAWin) {
  Client& p2 = add_member(*channel, "Bob", 2);
  Client& p1 = add_member(*channel, "Alice", 1);
  start(p1);
  Client& late = add_member(*channel, "Dan", 4);
  Client& waiting = add_member(*channel, "Carol", 3, STATE_TEAM);
  waiting.play_state = PLAY_ACTIVE;
  late.field.fill(5);
  p1.field[0] = 6;  // cell (0, 0), a special

  say(p2, "playerlost 2");  // member order: Carol, Dan, Alice, Bob
  const std::string zeros(264, '0');
  const std::string field1 = "f 1 a" + zeros.substr(1);
  const std::string field2 = "f 2 " + zeros;
  const std::string field4 = "f 4 " + std::string(264, '5');
  const std::string won = "pline 0 ---- Player Alice\x04 WON ----";
  const std::string list = "winlist pAlice;3";
  EXPECT_EQ(received(late), (Messages{"endgame", "playerwon 1", field1, field2, won, list}));
  EXPECT_EQ(received(p1),
            (Messages{"playerlost 2", "endgame", "playerwon 1", field4, field2, won, list}));
  EXPECT_EQ(received(p2), (Messages{"endgame", "playerwon 1", field4, field1, won, list}));
  EXPECT_EQ(received(waiting), Messages{list});
  EXPECT_EQ(waiting.play_state, PLAY_ACTIVE);
  EXPECT_EQ(late.play_state, PLAY_NONE);
}

// Start, stop and pause at level 4, resuming at 5, a loss at 6.
TEST_F(ResultsTest, ControlLinesAreLoggedAtTheirLevels) {
  add_member(*channel, "Carol", 3);
  add_member(*channel, "Bob", 2);
  Client& p1 = add_member(*channel, "Alice", 1);
  Client& p3 = *find_player(*channel, 3);
  struct Logged {
    const char* text;
    int level;
  };
  const Logged lines[] = {
      {" #lineblox-Alice started the game\n", 4}, {" #lineblox-Alice pauses game\n", 4},
      {" #lineblox-Alice unpauses game\n", 5},    {" #lineblox-Carol lost\n", 6},
      {" #lineblox-Alice stopped the game\n", 4},
  };
  for (const int verbose : {3, 4, 5, 6}) {
    SCOPED_TRACE(verbose);
    std::remove(LOG_FILE);
    server_settings.verbose = verbose;
    start(p1);
    say(p1, "pause 1 1");
    say(p1, "pause 0 1");
    say(p3, "playerlost 3");  // two players left: the game goes on
    say(p1, "startgame 0 1");
    for (const Logged& line : lines) {
      EXPECT_EQ(log_count(line.text), line.level <= verbose ? 1 : 0) << line.text;
    }
  }
}

TEST_F(ResultsTest, TeamsMatchWithoutCaseAndTheFirstOfTheSideWins) {
  channel->settings.serverannounce = 0;
  Client& blue = add_member(*channel, "Dan", 4, STATE_CHANNEL, "blue");
  Client& red3 = add_member(*channel, "Carol", 3, STATE_CHANNEL, "RED");
  Client& red2 = add_member(*channel, "Bob", 2, STATE_CHANNEL, "red");
  Client& red1 = add_member(*channel, "Alice", 1, STATE_CHANNEL, "Red");
  winlist[0].kind = KIND_TEAM;
  winlist[0].name[0] = 'r';
  winlist[0].name[1] = 'E';
  winlist[0].name[2] = 'd';
  winlist[0].score = 6;
  winlist[0].used = 1;
  start(red1);
  say(blue, "playerlost 4");
  for (Client* member : {&red1, &red2, &red3}) {
    EXPECT_EQ(without_fields(*member),
              (Messages{"playerlost 4", "endgame", "playerwon 1", "winlist trEd;9"}));
  }
  EXPECT_EQ(without_fields(blue), (Messages{"endgame", "playerwon 1", "winlist trEd;9"}));
  EXPECT_FALSE(winlist[1].used);
}

TEST_F(ResultsTest, SplitTeamsGoOnAndALoneLoserChangesNothing) {
  Client& d = add_member(*channel, "Dan", 4);
  Client& c = add_member(*channel, "Carol", 3, STATE_CHANNEL, "a");
  Client& b = add_member(*channel, "Bob", 2, STATE_CHANNEL, "b");
  Client& a = add_member(*channel, "Alice", 1, STATE_CHANNEL, "a");
  start(a);
  say(d, "playerlost 4");
  for (Client* member : {&a, &b, &c}) EXPECT_EQ(without_fields(*member), Messages{"playerlost 4"});
  EXPECT_TRUE(without_fields(d).empty());
  EXPECT_EQ(channel->game_state, GAME_RUNNING);
  EXPECT_EQ(d.play_state, PLAY_LOST);
  say(d, "playerlost 4");  // already out
  say(c, "playerlost 2");  // not its number
  EXPECT_TRUE(without_fields(a).empty());
  EXPECT_TRUE(without_fields(b).empty());
  EXPECT_EQ(c.play_state, PLAY_ACTIVE);
}

TEST_F(ResultsTest, PlayerAloneLosesAndTheGameStaysInProgress) {
  Client& p1 = add_member(*channel, "Alice", 1);
  start(p1);
  say(p1, "pause 1 1");
  received(p1);
  say(p1, "playerlost 1");  // a paused game is still in progress
  EXPECT_EQ(p1.play_state, PLAY_LOST);
  EXPECT_TRUE(received(p1).empty());
  EXPECT_EQ(channel->game_state, GAME_PAUSED);
  EXPECT_FALSE(winlist[0].used);
}

TEST_F(ResultsTest, PauseNeedsTheChanopAGameAndAValueOfZeroOrOne) {
  Client& p2 = add_member(*channel, "Bob", 2);
  Client& p1 = add_member(*channel, "Alice", 1);
  say(p1, "pause 1 1");
  EXPECT_TRUE(received(p1).empty());  // no game
  start(p1);
  for (const char* line : {"pause 2 1", "pause 1 2", "pause 1", "pause -1 1"}) {
    say(p1, line);
  }
  say(p2, "pause 1 2");
  EXPECT_TRUE(received(p1).empty());
  say(p1, "pause 1 1");
  say(p1, "pause 1 1");  // again: sent again, still paused
  EXPECT_EQ(received(p2), (Messages{"pause 1", "pause 1"}));
  EXPECT_EQ(channel->game_state, GAME_PAUSED);
  say(p1, "startgame 0 1");  // a paused game cannot be stopped
  EXPECT_EQ(channel->game_state, GAME_PAUSED);
  say(p1, "pause 0 1");
  EXPECT_EQ(received(p2), Messages{"pause 0"});
  EXPECT_EQ(channel->game_state, GAME_RUNNING);
  say(p1, "startgame 0 1");
  EXPECT_EQ(received(p2), Messages{"endgame"});
  EXPECT_EQ(channel->game_state, GAME_STOPPED);
  EXPECT_EQ(p2.play_state, PLAY_NONE);
}

}  // namespace

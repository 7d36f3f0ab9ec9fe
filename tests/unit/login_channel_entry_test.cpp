// The team statement and channel entry, in process: refused statements, the team cut,
// the exact messages the newcomer and the members receive in their order (with a game
// stopped, running and paused), and the message-of-the-day pieces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/settings.h"
#include "game/field.h"
#include "login/channel_entry.h"
#include "unit/channel_peers.h"

namespace {

std::string pair_about(int number, const std::string& nick) {
  return "playerjoin " + std::to_string(number) + " " + nick;
}
std::string team_about(int number, const std::string& team) {
  return "team " + std::to_string(number) + " " + team;
}
std::string greeting(const std::string& nick, const std::string& channel = "lineblox") {
  return "pline 0 \x0c" + nick + "\x04 \x0chas joined channel #" + channel;
}

class ChannelEntryTest : public ChannelPeersTest {
 protected:
  void SetUp() override {
    ChannelPeersTest::SetUp();
    channel_ = &create_channel("lineblox");
    alice_ = add(*channel_, "Alice", 1, STATE_CHANNEL, "red");
    bob_ = add(*channel_, "Bob", 2, STATE_CHANNEL, "");
    waiting_ = add(*channel_, "???", 0, STATE_INIT);
    carol_ = add(*channel_, "Carol", 3, STATE_TEAM);
  }
  Outcome state_team(const std::string& text) {
    std::string line = text;
    return handle_team_line(*carol_.client, line);
  }

  Channel* channel_ = nullptr;
  Peer alice_, bob_, waiting_, carol_;
};

TEST_F(ChannelEntryTest, WrongStatementIsLoggedAndClosesWithoutAWord) {
  const std::string lines[] = {"team 3",     "Team 3 blue", "TEAM 3 ", "team 2 blue",
                               "team 03 x",  "team  3 x",   "",        "team 3\tx"};
  for (const std::string& line : lines) {
    std::remove(LOG_FILE);
    ASSERT_EQ(state_team(line), Outcome::Removed) << line;
    EXPECT_TRUE(messages(carol_.fd).empty()) << line;
    EXPECT_TRUE(closed(carol_.fd)) << line;
    EXPECT_EQ(log_lines(), std::vector<std::string>{"Incorrect TEAM statement - " + line + "!\n"});
    EXPECT_TRUE(messages(alice_.fd).empty());
    EXPECT_TRUE(messages(bob_.fd).empty());
    EXPECT_EQ(channel_->members.size(), 3u);
    carol_ = add(*channel_, "Carol", 3, STATE_TEAM);
  }
}

TEST_F(ChannelEntryTest, TeamIsTheRestOfTheLineCutToThirty) {
  const std::string long_team(35, 't');
  const struct {
    std::string line, team;
  } cases[] = {{"team 3 ", ""}, {"team 3 blue team ", "blue team "}, {"team 3 " + long_team, long_team.substr(0, 30)}};
  for (const auto& c : cases) {
    ASSERT_EQ(state_team(c.line), Outcome::Kept);
    EXPECT_EQ(carol_.client->team, c.team);
    EXPECT_EQ(carol_.client->state, STATE_CHANNEL);
    EXPECT_EQ(messages(alice_.fd).back(), team_about(3, c.team));
    carol_.client->state = STATE_TEAM;
    messages(carol_.fd);
    messages(bob_.fd);
  }
}

TEST_F(ChannelEntryTest, NewcomerAndMembersLearnOfEachOtherNewestFirst) {
  write_file("game.motd", "\n\n  Welcome!\n\n   second line\n");
  carol_.client->play_state = PLAY_LOST;  // whatever it was, entry clears it
  ASSERT_EQ(state_team("team 3 blue"), Outcome::Kept);
  EXPECT_EQ(carol_.client->play_state, PLAY_NONE);

  EXPECT_EQ(messages(carol_.fd), (std::vector<std::string>{
                                     pair_about(2, "Bob"), team_about(2, ""),
                                     pair_about(1, "Alice"), team_about(1, "red"),
                                     "pline 0 Welcome!", "pline 0 second line", greeting("Carol")}));
  const std::vector<std::string> about_carol{pair_about(3, "Carol"), team_about(3, "blue")};
  EXPECT_EQ(messages(alice_.fd), about_carol);
  EXPECT_EQ(messages(bob_.fd), about_carol);
  EXPECT_TRUE(messages(waiting_.fd).empty());
  EXPECT_EQ(log_lines().back(), "#lineblox-Carol New connection\n");
}

TEST_F(ChannelEntryTest, PairAboutAMemberIsOnePieceOfOutput) {
  ASSERT_EQ(state_team("team 3 blue"), Outcome::Kept);
  EXPECT_EQ(take(alice_.fd), "playerjoin 3 Carol\xff" "team 3 blue\xff");
}

TEST_F(ChannelEntryTest, GameInProgressIsShownAndTheNewcomerSitsItOut) {
  for (GameState state : {GAME_RUNNING, GAME_PAUSED}) {
    channel_->game_state = state;
    alice_.client->play_state = PLAY_LOST;
    alice_.client->field[0] = 6;                           // cell (0, 0): 'a'
    alice_.client->field[1 * FIELD_HEIGHT + 0] = 3;        // cell (1, 0)
    bob_.client->play_state = PLAY_ACTIVE;
    ASSERT_EQ(state_team("team 3 "), Outcome::Kept);

    std::vector<std::string> expected{
        pair_about(2, "Bob"),       team_about(2, ""),
        pair_about(1, "Alice"),  team_about(1, "red"),
        "f 2 " + std::string(264, '0'), "playerlost 1",
        "f 1 a3" + std::string(262, '0'), "ingame"};
    if (state == GAME_PAUSED) expected.push_back("pause 1");
    expected.push_back(greeting("Carol"));
    EXPECT_EQ(messages(carol_.fd), expected);
    const std::vector<std::string> members_see{pair_about(3, "Carol"), team_about(3, ""),
                                               "playerlost 3"};
    EXPECT_EQ(messages(alice_.fd), members_see);
    EXPECT_EQ(messages(bob_.fd), members_see);
    EXPECT_EQ(carol_.client->play_state, PLAY_NONE);
    carol_.client->state = STATE_TEAM;
  }
}

TEST(MotdPieces, ReadLikeTheLineScanThatSkipsWhiteSpaceAfterEachPiece) {
  const std::string x1023(1023, 'x');
  struct Case {
    std::string content;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"\n\n \n", {}},
      {"Hello\nWorld", {"Hello", "World"}},
      {"  indented first\n  indented second\n", {"  indented first", "indented second"}},
      {"\n\nfirst\n\n\t\nsecond\n", {"first", "second"}},
      {"a\r\nb", {"a\r", "b"}},
      {x1023 + "yy\n", {x1023, "yy"}},
      {x1023 + " \n yy", {x1023, "yy"}},
  };
  for (const Case& c : cases) EXPECT_EQ(motd_pieces(c.content), c.pieces) << c.content;
}

TEST_F(ChannelEntryTest, MissingOrEmptyMotdSendsNothing) {
  write_file("game.motd", "");
  ASSERT_EQ(state_team("team 3 "), Outcome::Kept);
  const auto got = messages(carol_.fd);
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got.back(), greeting("Carol"));
}

}  // namespace

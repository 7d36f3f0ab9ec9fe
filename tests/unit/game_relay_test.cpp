// The in-channel dispatch seen from the members: which malformed or foreign lines are
// dropped, and the exact bytes of what is relayed, over a table of lines.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/log.h"
#include "game/relay.h"
#include "unit/game_support.h"

namespace {

using Messages = std::vector<std::string>;

struct RelayCase {
  std::string line;  // sent by player 1 (Alice)
  Messages to_sender;
  Messages to_other;  // player 2, in STATE_CHANNEL
};

class RelayTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    channel = &create_channel("lineblox");
    waiting = &add_member(*channel, "Carol", 3, STATE_TEAM);
    p2 = &add_member(*channel, "Bob", 2);
    p1 = &add_member(*channel, "Alice", 1);
  }
  void check(const std::vector<RelayCase>& cases) {
    for (const RelayCase& c : cases) {
      SCOPED_TRACE(c.line);
      std::string line = c.line;
      EXPECT_EQ(handle_channel_line(*p1, line), Outcome::Kept);
      EXPECT_EQ(received(*p1), c.to_sender);
      EXPECT_EQ(received(*p2), c.to_other);
      EXPECT_TRUE(received(*waiting).empty());
    }
  }

  Channel* channel = nullptr;
  Client* p1 = nullptr;
  Client* p2 = nullptr;
  Client* waiting = nullptr;
};

TEST_F(RelayTest, ChatAndTeamLines) {
  server_settings.verbose = 5;
  check({
      {"pline 1 hello", {}, {"pline 1 \x04hello"}},
      {"PLINE 1   spaced  text ", {}, {"pline 1 \x04spaced  text "}},
      {"  pline\t1 lead", {}, {"pline 1 \x04lead"}},
      {"pline 1 cut\rhere",
       {},
       {"pline 1 \x04"
        "cut"}},
      {"pline 2 not mine", {}, {}},
      {"pline 1", {}, {}},
      {"pline 1    ", {}, {}},
      {"pline", {}, {}},
      {"pline x hi", {}, {}},
      {"pline 4294967297 wraps", {}, {}},
      {"pline -4294967295 wraps", {}, {}},
      {"pline 99999999999999999999999999 huge", {}, {}},
      {"pline +1 plus", {}, {"pline 1 \x04plus"}},
      {"pline /who", {}, {}},
      {"pline 1 /me waves", {"pline 0 \x14Invalid /COMMAND!"}, {}},
      {"plineact 1 waves", {}, {"plineact 1 waves"}},
      {"plineact 1", {}, {}},
      {"plineact 3 waves", {}, {}},
      {"team 1 " + std::string(40, 'R'), {}, {"team 1 " + std::string(40, 'R')}},
      {"team 1", {}, {"team 1 "}},
      {"team 2 Blue", {}, {}},
      {"gmsg <Alice> t", {"gmsg * PONG"}, {}},
      {"gmsg <ALICE> T", {"gmsg * PONG"}, {}},
      {"gmsg <Alice> hi", {"gmsg <Alice> hi"}, {"gmsg <Alice> hi"}},
      // The name part is as long as the sender's tag; the byte after it is dropped.
      {"gmsg <Al\x03ice> hi", {"gmsg <Alice  hi"}, {"gmsg <Alice  hi"}},
      {"gmsg <A", {"gmsg <A "}, {"gmsg <A "}},
      // L comes from the sender's own nickname, not from the '>' in the text.
      {"gmsg <Bob> hi", {"gmsg <Bob> h "}, {"gmsg <Bob> h "}},
      // Whatever stands at position L is dropped; only the name part loses colour.
      {"gmsg <Alice>x\x03hi", {"gmsg <Alice> \x03hi"}, {"gmsg <Alice> \x03hi"}},
      {"gmsg <Alice>", {"gmsg <Alice> "}, {"gmsg <Alice> "}},
      {"gmsg hello", {"gmsg hello"}, {"gmsg hello"}},
      {"gmsg hi \x03<Alice>", {"gmsg hi \x03<Alice>"}, {"gmsg hi \x03<Alice>"}},
      {"", {}, {}},
      {"dance 1 2", {}, {}},
      {"  Dance\t1  2", {}, {}},
  });
  EXPECT_EQ(p1->team, "");  // the last accepted team line was empty
  EXPECT_EQ(log_count("#lineblox-Alice - Invalid Command - dance 1 2\n"), 1);
  EXPECT_EQ(log_count("#lineblox-Alice - Invalid Command - \n"), 1);
  EXPECT_EQ(log_count("#lineblox-Alice - Invalid Command -   Dance\t1  2\n"), 1);
  EXPECT_EQ(log_count("#lineblox-Alice: hello\n"), 2);  // "pline" and "gmsg" log alike
}

// Chat is logged at level 5, an unknown word at level 1.
TEST_F(RelayTest, LogLevels) {
  struct Case {
    std::string line;
    std::string logged;
    int level;
  };
  const Case cases[] = {
      {"pline 1 hi", "#lineblox-Alice: hi\n", 5},
      {"plineact 1 waves", "#lineblox-Alice acts: waves\n", 5},
      {"team 1 Red", "#lineblox-Alice changes team to Red\n", 5},
      {"gmsg <Alice> yo", "#lineblox-Alice: <Alice> yo\n", 5},
      {"dance", "#lineblox-Alice - Invalid Command - dance\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    for (const int verbose : {c.level - 1, c.level}) {
      std::remove(LOG_FILE);
      server_settings.verbose = verbose;
      std::string line = c.line;
      handle_channel_line(*p1, line);
      EXPECT_EQ(log_count(c.logged), verbose >= c.level ? 1 : 0);
    }
    received(*p1);
    received(*p2);
  }
}

TEST_F(RelayTest, TeamIsCutTo30AndLockedDuringAGame) {
  std::string line = "team 1 " + std::string(40, 'R');
  handle_channel_line(*p1, line);
  EXPECT_EQ(p1->team, std::string(30, 'R'));
  p1->play_state = PLAY_LOST;
  line = "team 1 Blue";
  handle_channel_line(*p1, line);
  EXPECT_EQ(p1->team, std::string(30, 'R'));
}

TEST_F(RelayTest, PingAndColourFollowTheChannelSettings) {
  channel->settings.pingintercept = 0;
  channel->settings.stripcolour = 0;
  check({
      {"gmsg <Alice> t", {"gmsg <Alice> t"}, {"gmsg <Alice> t"}},
      {"gmsg <Al\x03ice> hi", {"gmsg <Al\x03ice  hi"}, {"gmsg <Al\x03ice  hi"}},
  });
}

TEST_F(RelayTest, GameMessagesNeedARunningGameAndAPlayingSender) {
  check({
      {"f 1 !33", {}, {"f 1 !33"}},  // fields go through whatever the game state
      {"f 2 !33", {}, {}},
      {"f 1", {}, {"f 1 "}},
      {"lvl 1 5", {}, {}},
      {"sb 0 cs 1", {}, {}},
  });
  channel->game_state = GAME_RUNNING;
  p1->play_state = PLAY_ACTIVE;
  check({
      {"lvl 1 5", {"lvl 1 5"}, {"lvl 1 5"}},
      {"lvl 1", {}, {}},
      {"lvl 1 4294967296", {}, {}},
      {"lvl 2 5", {}, {}},
      {"sb 0 cs 1", {}, {"sb 0 cs 1"}},
      {"sb -3 a 1", {}, {"sb -3 a 1"}},
      {"sb 0 cs", {}, {}},
      {"sb 0", {}, {}},
      {"sb 9999999999 a 1", {}, {}},
      {"sb 0 cs 2", {}, {}},
  });
  channel->game_state = GAME_PAUSED;
  check({{"lvl 1 5", {}, {}}, {"sb 0 cs 1", {}, {}}});
  channel->game_state = GAME_RUNNING;
  p1->play_state = PLAY_LOST;
  check({{"lvl 1 5", {}, {}}, {"sb 0 cs 1", {}, {}}});
}

TEST_F(RelayTest, PartialFieldBailoutIsRelayedFirstThenLogged) {
  server_settings.verbose = 10;  // sends are logged too, so their order shows
  check({{"f 1 !3X", {}, {"f 1 !3X"}}});
  EXPECT_EQ(log_count("Slot(Alice): Bailout error on field update!!"), 1);
  const std::string log = read_file(LOG_FILE);
  const std::size_t relayed = log.find("): f 1 !3X\xff\n");
  ASSERT_NE(relayed, std::string::npos);
  EXPECT_LT(relayed, log.find("Slot(Alice): Bailout"));
}

}  // namespace

// Recognition and permission: which command a text runs and whether the sender may
// run it, over the sender's position, its stored level and the command levels.
#include <gtest/gtest.h>

#include "commands/dispatch.h"
#include "config/settings.h"
#include "unit/commands_world.h"

namespace {

const std::string NO_ACCESS = "pline 0 \x14You do NOT have access to that command!";
const std::string INVALID = "pline 0 \x14" "Invalid /COMMAND!";
const std::string IN_GAME =
    "pline 0 \x14" "Command unavailable while a game is in progress. Stop it first.";
// First answers that show the handler ran.
const std::string KICKED_5 = "kick 5";
const std::string WHO = "pline 0 \x11Nickname\tTeam            \tChannel";
const std::string SET = "pline 0 \x17SET \x11" "commands - Set channel attributes";
const std::string JOIN_FORMAT = "pline 0 \x11" "Format: \x14/join \x05<#channel|channel number>";
const std::string HELP =
    "pline 0 V1.13.16 - Built in server commands \x17(*) \x04requires 'op', \x14(!) "
    "\x04requires '/op'";
const std::string OP_REFUSED = "pline 0 Invalid Password! (Attempt logged)";
const std::string MOVE_USAGE = "pline 0 \x14/move \x05<playernumber> <newplayernumber>";
const std::string PERSISTANT = "pline 0 \x11" "Channel is now persistant, and will not be deleted";

using Level = std::int32_t ServerSettings::*;

struct AccessCase {
  std::string text;
  int number;  // the sender's; "p3" and "p5" share the channel, so 1 and 2 are chanop
  std::string expected;
  int stored_level = 1;
  Level setting = nullptr;
  int value = 0;
  bool persistant = false;
  GameState game = GAME_STOPPED;
  int team_client = 0;  // number of a lower player still in STATE_TEAM, or 0
};

class DispatchAccess : public CommandsTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(DispatchAccess, AnswersOrRunsTheHandler) {
  const AccessCase& c = GetParam();
  if (c.setting != nullptr) server_settings.*c.setting = c.value;
  Channel& lobby = channel("lobby");
  lobby.persistant = c.persistant;
  lobby.game_state = c.game;
  member(lobby, 5, "p5");
  member(lobby, 3, "p3");
  if (c.team_client != 0) member(lobby, c.team_client, "t", STATE_TEAM);
  Client& me = member(lobby, c.number, "me");
  me.level = c.stored_level;

  EXPECT_EQ(run(me, c.text), Outcome::Kept);
  const auto got = received("me");
  ASSERT_FALSE(got.empty()) << c.text;
  EXPECT_EQ(got.front(), c.expected) << c.text;
}

using SS = ServerSettings;

INSTANTIATE_TEST_SUITE_P(
    Table, DispatchAccess,
    ::testing::Values(
        // The chanop position: the lowest number among the players.
        AccessCase{"/kick 5", 1, KICKED_5},
        AccessCase{"/kick 5", 2, KICKED_5},
        AccessCase{"/kick 5", 4, NO_ACCESS},
        AccessCase{"/kick 5", 2, NO_ACCESS, 1, nullptr, 0, false, GAME_STOPPED, 1},
        AccessCase{"/kick 5", 4, KICKED_5, 3},
        AccessCase{"/KICK 5", 1, KICKED_5},
        AccessCase{"/kick,5", 1, KICKED_5},  // the separating character, whatever it is
        // Level 4 for an ordinary command: nobody; 0 or less: no such command.
        AccessCase{"/kick 5", 1, NO_ACCESS, 3, &SS::command_kick, 4},
        AccessCase{"/kick 5", 1, INVALID, 3, &SS::command_kick, 0},
        AccessCase{"/kick 5", 1, INVALID, 3, &SS::command_kick, -1},
        // Recognition by prefix, any case; /me is not a server command.
        AccessCase{"/whoever", 4, WHO},
        AccessCase{"/WHO", 4, WHO},
        AccessCase{"/who", 4, INVALID, 1, &SS::command_who, 0},
        AccessCase{"/me waves", 1, INVALID},
        AccessCase{"/hello", 1, INVALID},
        AccessCase{"/HELP", 4, HELP},
        AccessCase{"/helpme", 4, HELP},
        AccessCase{"/jump", 4, JOIN_FORMAT},
        AccessCase{"/JOIN", 4, JOIN_FORMAT},
        // /join 4: everybody may use it (creating is the command's own test).
        AccessCase{"/join", 4, JOIN_FORMAT, 1, &SS::command_join, 4},
        AccessCase{"/join", 4, NO_ACCESS, 1, &SS::command_join, 2},
        AccessCase{"/join", 4, JOIN_FORMAT, 3, &SS::command_join, 3},
        AccessCase{"/join", 1, NO_ACCESS, 3, &SS::command_join, 5},
        // /set 4: the chanop only where the channel is not persistant.
        AccessCase{"/set", 1, SET},
        AccessCase{"/set", 1, NO_ACCESS, 1, nullptr, 0, true},
        AccessCase{"/set", 4, SET, 3, nullptr, 0, true},
        AccessCase{"/set", 4, NO_ACCESS},
        AccessCase{"/set", 1, SET, 1, &SS::command_set, 2, true},
        AccessCase{"/set", 1, NO_ACCESS, 1, &SS::command_set, 3},
        // /op: everybody while enabled; its password is the test.
        AccessCase{"/op x", 4, OP_REFUSED, 1, &SS::command_op, 3},
        AccessCase{"/op x", 4, INVALID, 1, &SS::command_op, 0},
        // /move: a game in progress refuses everybody, with its own answer.
        AccessCase{"/move 1 1", 1, MOVE_USAGE},
        AccessCase{"/move 1 1", 4, NO_ACCESS},
        AccessCase{"/move 1 1", 4, IN_GAME, 1, nullptr, 0, false, GAME_RUNNING},
        AccessCase{"/move 1 1", 1, IN_GAME, 1, nullptr, 0, false, GAME_PAUSED},
        AccessCase{"/move 1 1", 4, IN_GAME, 3, &SS::command_move, 3, false, GAME_RUNNING},
        // Authenticated-op commands with the default levels.
        AccessCase{"/persistant", 1, NO_ACCESS},
        AccessCase{"/persistant", 4, PERSISTANT, 3}));

TEST_F(CommandsTest, HasLevelCombinesStoredLevelAndChanopPosition) {
  Channel& lobby = channel("lobby");
  Client& second = member(lobby, 2, "second");
  Client& first = member(lobby, 1, "first");
  EXPECT_TRUE(has_level(first, 2));
  EXPECT_FALSE(has_level(first, 3));
  EXPECT_FALSE(has_level(second, 2));
  second.level = 3;
  EXPECT_TRUE(has_level(second, 3));
  first.state = STATE_INIT;  // a client still logging in holds no place
  EXPECT_TRUE(has_level(second, 2));
}

}  // namespace

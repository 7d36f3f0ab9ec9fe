// /set: the value checks of every subcommand, the help and overview texts, and that
// only the sender's channel changes.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "unit/commands_world.h"

namespace {

const std::string UPDATED = "pline 0 \x11Settings Updated!";
const std::string SUM_100 = "pline 0 \x11" "All Parameters must add up to 100%";
const std::string INVALID_P = "pline 0 \x11Invalid Parameters";
const std::string INVALID_SMALL_P = "pline 0 \x11Invalid parameters";
std::string not_enough(const std::string& group) {
  return "pline 0 \x11Not enough parameters. Try \x05/set \x14" + group;
}

ChannelSettings defaults() { return ChannelSettings{}; }

struct SetCase {
  std::string text;
  std::string answer;
  ChannelSettings after;  // the channel's settings afterwards
};

ChannelSettings with(void (*change)(ChannelSettings&)) {
  ChannelSettings s;
  change(s);
  return s;
}

class SetValues : public CommandsTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SetValues, ChecksAndStores) {
  const SetCase& c = GetParam();
  Channel& lobby = channel("lobby");
  Channel& other = channel("other");
  Client& me = member(lobby, 1, "me");
  run(me, c.text);
  EXPECT_EQ(received("me"), std::vector<std::string>{c.answer}) << c.text;
  EXPECT_TRUE(lobby.settings == c.after) << c.text;
  EXPECT_TRUE(other.settings == defaults());
  EXPECT_TRUE(server_settings.channel_defaults == defaults());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetValues,
    ::testing::Values(
        SetCase{"/set BLOCK 14 14 15 14 14 14 16", SUM_100, defaults()},
        SetCase{"/set BLOCK 10 10 10 10 10 10 40 99", UPDATED, with([](ChannelSettings& s) {
                  s.block_leftl = s.block_leftz = s.block_square = s.block_rightl =
                      s.block_rightz = s.block_halfcross = 10;
                  s.block_line = 40;
                })},
        SetCase{"/set block -20 10 10 10 10 10 30", UPDATED, with([](ChannelSettings& s) {
                  s.block_leftl = 20;
                  s.block_leftz = s.block_square = s.block_rightl = s.block_rightz =
                      s.block_halfcross = 10;
                  s.block_line = 30;
                })},
        SetCase{"/set BLOCK 10 10", not_enough("BLOCK"), defaults()},
        SetCase{"/set BLOCK 10 10 x 10 10 10 10", not_enough("BLOCK"), defaults()},
        // Numbers past the int range saturate; they can never add up to 100.
        SetCase{"/set BLOCK 99999999999999999999 -99999999999999999999 0 0 0 0 0", SUM_100,
                defaults()},
        SetCase{"/set SPECIAL 100 0 0 0 0 0 0 0 0", UPDATED, with([](ChannelSettings& s) {
                  s.special_addline = 100;
                  s.special_clearline = s.special_nukefield = s.special_randomclear =
                      s.special_switchfield = s.special_clearspecial = s.special_gravity =
                          s.special_quakefield = s.special_blockbomb = 0;
                })},
        SetCase{"/set SPECIAL 100 0 0 0 0 0 0 0", not_enough("SPECIAL"), defaults()},
        SetCase{"/set SUDDENDEATH 0 1 0", INVALID_P, defaults()},
        SetCase{"/set SUDDENDEATH -1 1 1", INVALID_P, defaults()},
        SetCase{"/set suddendeath 0 0 1", UPDATED, with([](ChannelSettings& s) {
                  s.sd_timeout = 0;
                  s.sd_lines_per_add = 0;
                  s.sd_secs_between_lines = 1;
                })},
        SetCase{"/set SUDDENDEATH 180", not_enough("SUDDENDEATH"), defaults()},
        SetCase{"/set RULES 0 2 1 1 1 18 1 1", UPDATED,
                with([](ChannelSettings& s) { s.starting_level = 0; })},
        SetCase{"/set RULES 99 1000 7 1000 1000 1 0 0", UPDATED, with([](ChannelSettings& s) {
                  s.starting_level = 99;
                  s.lines_per_level = 1000;
                  s.level_increase = 7;
                  s.lines_per_special = 1000;
                  s.special_added = 1000;
                  s.special_capacity = 1;
                  s.classic_rules = 0;
                  s.average_levels = 0;
                })},
        SetCase{"/set RULES 100 2 1 1 1 18 1 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 2 0 1 1 18 1 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 0 1 1 1 18 1 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 2 1 0 1 18 1 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 2 1 1 -1 18 1 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 2 1 1 1 19 1 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 2 1 1 1 0 1 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 2 1 1 1 18 2 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set RULES 1 2 1 1 1 18 1 -1", INVALID_SMALL_P, defaults()},
        SetCase{"/set MISC 1 2 1", INVALID_SMALL_P, defaults()},
        SetCase{"/set MISC 0 0 0", UPDATED, with([](ChannelSettings& s) {
                  s.stripcolour = s.serverannounce = s.pingintercept = 0;
                })},
        SetCase{"/set MISC 0 0", not_enough("MISC"), defaults()},
        SetCase{"/set   misc   0  1   0 x", UPDATED,
                with([](ChannelSettings& s) { s.stripcolour = s.pingintercept = 0; })},
        SetCase{"/set SUDDENDEATHMSG Hurry up", UPDATED,
                with([](ChannelSettings& s) { s.sd_message = "Hurry up"; })},
        // The blanks after the subcommand are dropped, the rest is kept as typed.
        SetCase{"/set suddendeathmsg   Hurry  up ", UPDATED,
                with([](ChannelSettings& s) { s.sd_message = "Hurry  up "; })},
        SetCase{"/set SUDDENDEATHMSG " + std::string(600, 'x'), UPDATED,
                with([](ChannelSettings& s) { s.sd_message = std::string(79, 'x'); })}));

TEST_F(CommandsTest, SetWithoutSubcommandGivesTheOverview) {
  Client& me = member(channel("lobby"), 1, "me");
  const std::vector<std::string> overview = {
      "pline 0 \x17SET \x11" "commands - Set channel attributes",
      "pline 0 \x11" "Commands are of the general form: \x05/set \x14<command>\x04[\x05value "
      "[..value]\x04]",
      "pline 0 \x11When given without a value, the current value is returned.",
      "pline 0 \x05/set \x14" "BLOCK \x05ll lz sq rl rz hc ln   \x11Set Block Configuration",
      "pline 0 \x05/set \x14SPECIAL \x05" "A C N R S B G Q O   \x11Set Special Configuration",
      "pline 0 \x05/set \x14SUDDENDEATH \x05to la sl   \x11Set SuddenDeath Configuration",
      "pline 0 \x05/set \x14SUDDENDEATHMSG \x05msg   \x11Set SuddenDeath Message",
      "pline 0 \x05/set \x14RULES \x05sl ll li ls sa sc cr al   \x11Set Rules Configuration",
      "pline 0 \x05/set \x14MISC \x05sc sa pi   \x11Set Misc Configuration",
      "pline 0 \x11Type \x05/set \x14" "commandname \x11to find out what the parameters mean.",
  };
  for (const std::string text : {"/set", "/set help", "/set  nothing 1 2", "/settings"}) {
    run(me, text);
    EXPECT_EQ(received("me"), overview) << text;
  }
}

TEST_F(CommandsTest, SetHelpShowsTheCurrentValues) {
  Channel& lobby = channel("lobby");
  Client& me = member(lobby, 1, "me");
  run(me, "/set block");
  EXPECT_EQ(received("me"), (std::vector<std::string>{
                                "pline 0 \x14" "BLOCK",
                                "pline 0 \x11Set the percentage occurance of blocks in a game",
                                "pline 0 \x05ll\t\x11Percent Left L shaped block",
                                "pline 0 \x05lz\t\x11Percent Left Z shaped block",
                                "pline 0 \x05sq\t\x11Percent Square shaped block",
                                "pline 0 \x05rl\t\x11Percent Right L shaped block",
                                "pline 0 \x05rz\t\x11Percent Right Z shaped block",
                                "pline 0 \x05hc\t\x11Percent HalfCross shaped block",
                                "pline 0 \x05ln\t\x11Percent Line shaped block",
                                "pline 0 \x11" "All percentages add up to a total of 100%",
                                "pline 0 \x11IE: \x05/set \x14" "BLOCK \x05" "14 14 15 14 14 14 15",
                                "pline 0 Current Setting: 14 14 15 14 14 14 15",
                            }));
  lobby.settings.pingintercept = 0;
  run(me, "/set MISC   ");
  EXPECT_EQ(received("me"), (std::vector<std::string>{
                                "pline 0 \x14MISC",
                                "pline 0 \x11Set Misc options",
                                "pline 0 \x05sc\t\x11Strip Colour from GameMessages?",
                                "pline 0 \x05sa\t\x11Server Announces winner?",
                                "pline 0 \x05pi\t\x11Intercept \"t\" in a Gamemessage as PING?",
                                "pline 0 \x11IE: \x05/set \x14MISC \x05 1 1 1",
                                "pline 0 Current Setting: 1 1 0",
                            }));
  run(me, "/set SUDDENDEATHMSG");
  EXPECT_EQ(received("me"),
            (std::vector<std::string>{
                "pline 0 \x14SUDDENDEATHMSG",
                "pline 0 \x11Set the Message sent to players when SuddenDeath mode arrives",
                "pline 0 \x05msg\t\x11Message to send to players",
                "pline 0 \x11IE: \x05/set \x14SUDDENDEATHMSG \x05Time's up! It's SUDDEN DEATH MODE!",
                "pline 0 Current Setting: Time's up! It's SUDDEN DEATH MODE!",
            }));
}

}  // namespace

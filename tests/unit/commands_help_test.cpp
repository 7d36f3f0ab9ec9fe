// /help: the exact lines, their markers from the command levels, and which commands
// the list leaves out.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "unit/commands_world.h"

namespace {

const std::string HEADER =
    "pline 0 V1.13.16 - Built in server commands \x17(*) \x04requires 'op', \x14(!) "
    "\x04requires '/op'";

// The /help lines with the default levels.
std::vector<std::string> default_help() {
  return {
      HEADER,
      "pline 0   \x14/clear",
      "pline 0       \x14(!) \x04" "Clears the winlist",
      "pline 0   \x14/join \x05<#channel|channel number>",
      "pline 0            \x04Joins or creates a virtual lineblox channel",
      "pline 0   \x14/kick \x05<playernumber(s)>",
      "pline 0       \x17(*) \x04Kicks player(s) from the server",
      "pline 0   \x14/list",
      "pline 0            \x04Lists available virtual Lineblox channels",
      "pline 0   \x14/me \x05<action>",
      "pline 0            Performs an action",
      "pline 0   \x14/move \x05<playernumber> <new playernumber>",
      "pline 0       \x17(*) \x04Moves a player to a new playernumber",
      "pline 0   \x14/msg \x05<playernumber(s)> <msg>",
      "pline 0            \x04Privately messages player(s)",
      "pline 0   \x14/op \x05<op_password>",
      "pline 0            Gain AUTHENTICATED OP status",
      "pline 0   \x14/persistant \x05<0/1>",
      "pline 0       \x14(!) \x04Persistant channels are not deleted when the last person leaves",
      "pline 0   \x14/priority \x05<channel priority(1-99)>",
      "pline 0       \x17(*) \x04New players join the highest priority channel",
      "pline 0   \x14/reset",
      "pline 0       \x14(!) \x04Reload saved game configuration AND persistant channel config",
      "pline 0   \x14/save",
      "pline 0       \x14(!) \x04" "All game configuration AND persistant channel info is saved",
      "pline 0   \x14/set",
      "pline 0            \x04Set Channel Config. Type \x05/set \x14HELP",
      "pline 0   \x14/topic \x05<channel topic>",
      "pline 0       \x17(*) \x04" "Changes the topic of the virtual Lineblox channel",
      "pline 0   \x14/who",
      "pline 0            \x04Lists all logged in players, and what channel they're on",
      "pline 0   \x14/winlist \x05[n]",
      "pline 0            \x04" "Displays the top n players",
  };
}

TEST_F(CommandsTest, HelpWithDefaultLevels) {
  Client& me = member(channel("lobby"), 2, "me");
  run(me, "/help");
  EXPECT_EQ(received("me"), default_help());
}

TEST_F(CommandsTest, HelpFollowsChangedLevels) {
  server_settings.command_kick = 4;     // listed, empty marker
  server_settings.command_who = 0;      // left out
  server_settings.command_clear = -1;   // /clear is listed only above 0
  server_settings.command_msg = -1;     // the others are listed unless exactly 0
  server_settings.command_op = 0;       // left out
  server_settings.command_list = 3;
  Client& me = member(channel("lobby"), 2, "me");
  run(me, "/HELPME");

  std::vector<std::string> expected = default_help();
  auto erase_pair = [&](const std::string& first) {
    const auto it = std::find(expected.begin(), expected.end(), first);
    ASSERT_NE(it, expected.end()) << first;
    expected.erase(it, it + 2);
  };
  erase_pair("pline 0   \x14/clear");
  erase_pair("pline 0   \x14/who");
  erase_pair("pline 0   \x14/op \x05<op_password>");
  *(std::find(expected.begin(), expected.end(), "pline 0   \x14/kick \x05<playernumber(s)>") + 1) =
      "pline 0            \x04Kicks player(s) from the server";
  *(std::find(expected.begin(), expected.end(), "pline 0   \x14/list") + 1) =
      "pline 0       \x14(!) \x04Lists available virtual Lineblox channels";
  EXPECT_EQ(received("me"), expected);
}

}  // namespace

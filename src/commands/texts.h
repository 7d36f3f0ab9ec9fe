// Every text the partyline commands send and log, in one place so the protocol can be
// read in one sitting. Answers are partyline messages from player 0; each game message
// ends in 0xFF; the "%c" arguments are attribute bytes chosen by the callers.
#pragma once

#include <cinttypes>

// ---- Dispatch --------------------------------------------------------------------
inline constexpr char TXT_INVALID_COMMAND[] = "pline 0 %cInvalid /COMMAND!\xff";
inline constexpr char TXT_NO_ACCESS[] = "pline 0 %cYou do NOT have access to that command!\xff";

// ---- /help -----------------------------------------------------------------------
inline constexpr char TXT_HELP_HEADER[] =
    "pline 0 V%s.%s - Built in server commands %c(*) %crequires 'op', %c(!) %crequires '/op'\xff";
inline constexpr char TXT_HELP_MARKER_OP[] = "(*)";
inline constexpr char TXT_HELP_MARKER_AUTH_OP[] = "(!)";
inline constexpr char TXT_HELP_CLEAR_1[] = "pline 0   %c/clear\xff";
inline constexpr char TXT_HELP_CLEAR_2[] = "pline 0       %-4s %cClears the winlist\xff";
inline constexpr char TXT_HELP_JOIN_1[] = "pline 0   %c/join %c<#channel|channel number>\xff";
inline constexpr char TXT_HELP_JOIN_2[] =
    "pline 0       %-4s %cJoins or creates a virtual lineblox channel\xff";
inline constexpr char TXT_HELP_KICK_1[] = "pline 0   %c/kick %c<playernumber(s)>\xff";
inline constexpr char TXT_HELP_KICK_2[] = "pline 0       %-4s %cKicks player(s) from the server\xff";
inline constexpr char TXT_HELP_LIST_1[] = "pline 0   %c/list\xff";
inline constexpr char TXT_HELP_LIST_2[] =
    "pline 0       %-4s %cLists available virtual Lineblox channels\xff";
inline constexpr char TXT_HELP_ME_1[] = "pline 0   %c/me %c<action>\xff";
inline constexpr char TXT_HELP_ME_2[] = "pline 0            Performs an action\xff";
inline constexpr char TXT_HELP_MOVE_1[] =
    "pline 0   %c/move %c<playernumber> <new playernumber>\xff";
inline constexpr char TXT_HELP_MOVE_2[] =
    "pline 0       %-4s %cMoves a player to a new playernumber\xff";
inline constexpr char TXT_HELP_MSG_1[] = "pline 0   %c/msg %c<playernumber(s)> <msg>\xff";
inline constexpr char TXT_HELP_MSG_2[] = "pline 0       %-4s %cPrivately messages player(s)\xff";
inline constexpr char TXT_HELP_OP_1[] = "pline 0   %c/op %c<op_password>\xff";
inline constexpr char TXT_HELP_OP_2[] = "pline 0            Gain AUTHENTICATED OP status\xff";
inline constexpr char TXT_HELP_PERSISTANT_1[] = "pline 0   %c/persistant %c<0/1>\xff";
inline constexpr char TXT_HELP_PERSISTANT_2[] =
    "pline 0       %-4s %cPersistant channels are not deleted when the last person leaves\xff";
inline constexpr char TXT_HELP_PRIORITY_1[] =
    "pline 0   %c/priority %c<channel priority(1-99)>\xff";
inline constexpr char TXT_HELP_PRIORITY_2[] =
    "pline 0       %-4s %cNew players join the highest priority channel\xff";
inline constexpr char TXT_HELP_RESET_1[] = "pline 0   %c/reset\xff";
inline constexpr char TXT_HELP_RESET_2[] =
    "pline 0       %-4s %cReload saved game configuration AND persistant channel config\xff";
inline constexpr char TXT_HELP_SAVE_1[] = "pline 0   %c/save\xff";
inline constexpr char TXT_HELP_SAVE_2[] =
    "pline 0       %-4s %cAll game configuration AND persistant channel info is saved\xff";
inline constexpr char TXT_HELP_SET_1[] = "pline 0   %c/set\xff";
inline constexpr char TXT_HELP_SET_2[] =
    "pline 0       %-4s %cSet Channel Config. Type %c/set %cHELP\xff";
inline constexpr char TXT_HELP_TOPIC_1[] = "pline 0   %c/topic %c<channel topic>\xff";
inline constexpr char TXT_HELP_TOPIC_2[] =
    "pline 0       %-4s %cChanges the topic of the virtual Lineblox channel\xff";
inline constexpr char TXT_HELP_WHO_1[] = "pline 0   %c/who\xff";
inline constexpr char TXT_HELP_WHO_2[] =
    "pline 0       %-4s %cLists all logged in players, and what channel they're on\xff";
inline constexpr char TXT_HELP_WINLIST_1[] = "pline 0   %c/winlist %c[n]\xff";
inline constexpr char TXT_HELP_WINLIST_2[] = "pline 0       %-4s %cDisplays the top n players\xff";

// ---- /list -----------------------------------------------------------------------
inline constexpr char TXT_LIST_HEADER[] =
    "pline 0 %cLineblox Channel Lister - (Type %c/join %c#channelname%c)\xff";
inline constexpr char TXT_LIST_INGAME[] = "\x06{INGAME}\x11";  // bytes 6 and 17
inline constexpr char TXT_LIST_NOT_INGAME[] = "                ";  // 16 blanks
inline constexpr char TXT_LIST_FULL[] =
    "pline 0 %c(%c%d%c) %c#%-6s\t%c[%cFULL%c] %s       (%d)   %c%s\xff";
inline constexpr char TXT_LIST_OPEN[] =
    "pline 0 %c(%c%d%c) %c#%-6s\t%c[%cOPEN%c-%d/%d%c] %s (%d)   %c%s\xff";

// ---- /join -----------------------------------------------------------------------
inline constexpr char TXT_JOIN_FORMAT[] = "pline 0 %cFormat: %c/join %c<#channel|channel number>\xff";
inline constexpr char TXT_JOIN_NO_MORE_CHANNELS[] = "pline 0 %cCannot create any more channels!\xff";
inline constexpr char TXT_JOIN_CANNOT_CREATE[] = "pline 0 %cCannot create new channel\xff";
inline constexpr char TXT_JOIN_CREATED[] = "pline 0 %cCreated new Channel - %c#%s%c\xff";
inline constexpr char TXT_JOIN_FULL[] = "pline 0 %cThat channel is %cFULL%c!\xff";
inline constexpr char TXT_JOIN_JOINED[] = "pline 0 %cJoined existing Channel - %c#%s%c\xff";
// To the old channel's members (6, nick, 4, 6, name) and the new one's (12, nick, 4, 12, name).
inline constexpr char TXT_HAS_JOINED_CHANNEL[] = "pline 0 %c%s%c %chas joined channel #%s\xff";
inline constexpr char LOG_JOIN_CREATED[] = "#%s-%s created new channel\n";
inline constexpr char LOG_JOIN_JOINED[] = "#%s-%s joined channel\n";
inline constexpr char LOG_JOIN_NO_PLACE[] = "#%s-%s Ran out of places in channel (FATAL)\n";

// ---- Game messages a channel change or a renumbering sends ------------------------
inline constexpr char MSG_PLAYERNUM[] = "playernum %d\xff";
inline constexpr char MSG_PLAYERJOIN[] = "playerjoin %d %s\xff";
inline constexpr char MSG_TEAM[] = "team %d %s\xff";
inline constexpr char MSG_PLAYERLOST[] = "playerlost %d\xff";
inline constexpr char MSG_INGAME[] = "ingame\xff";
inline constexpr char MSG_PAUSED[] = "pause 1\xff";
inline constexpr char MSG_KICK[] = "kick %d\xff";

// ---- /who ------------------------------------------------------------------------
inline constexpr char TXT_WHO_HEADER_HOST[] = "pline 0 %cNickname\tTeam            \tChannel\tIP\xff";
inline constexpr char TXT_WHO_HEADER[] = "pline 0 %cNickname\tTeam            \tChannel\xff";
inline constexpr char TXT_WHO_ROW_HOST[] = "pline 0 %c(%c%d%c) %c%s\t%c%s\t%c#%s\t%s\xff";
inline constexpr char TXT_WHO_ROW[] = "pline 0 %c(%c%d%c) %c%s\t%c%s\t%c#%s\xff";

// ---- /topic, /priority, /persistant ----------------------------------------------
inline constexpr char TXT_TOPIC_CHANGED[] = "pline 0 %c%s%c%c changes the channel topic to %s\xff";
inline constexpr char LOG_TOPIC_CHANGED[] = "#%s-%s changed channel topic to %s\n";
inline constexpr char TXT_PRIORITY_RANGE[] =
    "pline 0 %cChannel priority should lie in the range of 0 to 99. 0 prevents people from "
    "automatically joining.\xff";
inline constexpr char TXT_PRIORITY_CHANGED[] =
    "pline 0 %c%s%c%c changes the channel priority to %d\xff";
inline constexpr char LOG_PRIORITY_CHANGED[] = "#%s-%s changed channel priority to %d\n";
inline constexpr char TXT_PERSISTANT_OFF[] =
    "pline 0 %cChannel will be deleted when last player leaves\xff";
inline constexpr char TXT_PERSISTANT_ON[] =
    "pline 0 %cChannel is now persistant, and will not be deleted\xff";

// ---- /kick, /msg, /move, /op -----------------------------------------------------
inline constexpr char LOG_KICKED[] = "#%s-%s: Kicked %s from server\n";
inline constexpr char TXT_MSG[] = "pline %d %c(msg)%c %s\xff";
inline constexpr char LOG_MSG[] = "#%s-(%s to %s): %s\n";
inline constexpr char TXT_MOVE_IN_GAME[] =
    "pline 0 %cCommand unavailable while a game is in progress. Stop it first.\xff";
inline constexpr char TXT_MOVE_USAGE[] = "pline 0 %c/move %c<playernumber> <newplayernumber>\xff";
inline constexpr char LOG_MOVED[] = "#%s-%s moves player %s(%d) to %s(%d)\n";
inline constexpr char LOG_SWAPPED[] = "#%s-%s swaps player %s(%d) with %s(%d)\n";
inline constexpr char TXT_OP_INVALID[] = "pline 0 Invalid Password! (Attempt logged)\xff";
inline constexpr char LOG_OP_FAILED[] = "#%s-%s Failed attempt to gain OP status\n";
inline constexpr char TXT_OP_GRANTED[] =
    "pline 0 %cYour security level is now: %cAUTHENTICATED OP\xff";
inline constexpr char LOG_OP_GRANTED[] = "#%s-%s authenticated successfully for op status\n";

// ---- /set ------------------------------------------------------------------------
inline constexpr char TXT_SET_UPDATED[] = "pline 0 %cSettings Updated!\xff";
inline constexpr char TXT_SET_NOT_ENOUGH[] = "pline 0 %cNot enough parameters. Try %c/set %c%s\xff";
inline constexpr char TXT_SET_SUM_100[] = "pline 0 %cAll Parameters must add up to 100%%\xff";
inline constexpr char TXT_SET_INVALID_CAPITAL[] = "pline 0 %cInvalid Parameters\xff";
inline constexpr char TXT_SET_INVALID[] = "pline 0 %cInvalid parameters\xff";

inline constexpr char TXT_SET_OVERVIEW_1[] = "pline 0 %cSET %ccommands - Set channel attributes\xff";
inline constexpr char TXT_SET_OVERVIEW_2[] =
    "pline 0 %cCommands are of the general form: %c/set %c<command>%c[%cvalue [..value]%c]\xff";
inline constexpr char TXT_SET_OVERVIEW_3[] =
    "pline 0 %cWhen given without a value, the current value is returned.\xff";
inline constexpr char TXT_SET_OVERVIEW_BLOCK[] =
    "pline 0 %c/set %cBLOCK %cll lz sq rl rz hc ln   %cSet Block Configuration\xff";
inline constexpr char TXT_SET_OVERVIEW_SPECIAL[] =
    "pline 0 %c/set %cSPECIAL %cA C N R S B G Q O   %cSet Special Configuration\xff";
inline constexpr char TXT_SET_OVERVIEW_SUDDENDEATH[] =
    "pline 0 %c/set %cSUDDENDEATH %cto la sl   %cSet SuddenDeath Configuration\xff";
inline constexpr char TXT_SET_OVERVIEW_SUDDENDEATHMSG[] =
    "pline 0 %c/set %cSUDDENDEATHMSG %cmsg   %cSet SuddenDeath Message\xff";
inline constexpr char TXT_SET_OVERVIEW_RULES[] =
    "pline 0 %c/set %cRULES %csl ll li ls sa sc cr al   %cSet Rules Configuration\xff";
inline constexpr char TXT_SET_OVERVIEW_MISC[] =
    "pline 0 %c/set %cMISC %csc sa pi   %cSet Misc Configuration\xff";
inline constexpr char TXT_SET_OVERVIEW_LAST[] =
    "pline 0 %cType %c/set %ccommandname %cto find out what the parameters mean.\xff";

// The help of one subcommand: its title (20), what it sets (17), one line per value
// (5, abbreviation, 17, meaning), for BLOCK and SPECIAL the 100% reminder (17), an
// example (17, 5, 20, name, 5, values) and the channel's current values.
struct SetValueText {
  const char* abbreviation;
  const char* meaning;
};
inline constexpr char TXT_SET_TITLE[] = "pline 0 %c%s\xff";
inline constexpr char TXT_SET_PARAMETER[] = "pline 0 %c%s\t%c%s\xff";
inline constexpr char TXT_SET_ALL_PERCENT[] = "pline 0 %cAll percentages add up to a total of 100%%\xff";
inline constexpr char TXT_SET_EXAMPLE[] = "pline 0 %cIE: %c/set %c%s %c%s\xff";
inline constexpr char TXT_SET_CURRENT_TEXT[] = "pline 0 Current Setting: %s\xff";
inline constexpr char TXT_SET_CURRENT_NUMBERS[] = "pline 0 Current Setting:";  // " %d" per value, 0xFF

inline constexpr char TXT_SET_BLOCK_ABOUT[] =
    "pline 0 %cSet the percentage occurance of blocks in a game\xff";
inline constexpr SetValueText TXT_SET_BLOCK_VALUES[] = {
    {"ll", "Percent Left L shaped block"},   {"lz", "Percent Left Z shaped block"},
    {"sq", "Percent Square shaped block"},   {"rl", "Percent Right L shaped block"},
    {"rz", "Percent Right Z shaped block"},  {"hc", "Percent HalfCross shaped block"},
    {"ln", "Percent Line shaped block"},
};
inline constexpr char TXT_SET_BLOCK_EXAMPLE[] = "14 14 15 14 14 14 15";

inline constexpr char TXT_SET_SPECIAL_ABOUT[] =
    "pline 0 %cSet the percentage occurance of special blocks in a game\xff";
inline constexpr SetValueText TXT_SET_SPECIAL_VALUES[] = {
    {"A", "Percent ADDLINE block"},     {"C", "Percent CLEARLINE block"},
    {"N", "Percent NUKEFIELD block"},   {"R", "Percent RANDOMCLEAR block"},
    {"S", "Percent SWITCHFIELD block"}, {"B", "Percent CLEARSPECIAL block"},
    {"G", "Percent GRAVITY block"},     {"Q", "Percent QUAKEFIELD block"},
    {"O", "Percent BLOCKBOMB block"},
};
inline constexpr char TXT_SET_SPECIAL_EXAMPLE[] = "32 18 1 11 3 14 1 6 14";

inline constexpr char TXT_SET_SUDDENDEATH_ABOUT[] =
    "pline 0 %cSet the configuration for SUDDENDEATH mode\xff";
inline constexpr SetValueText TXT_SET_SUDDENDEATH_VALUES[] = {
    {"to", "Number of Seconds till SuddenDeath Mode"},
    {"la", "Number of Lines to add each time"},
    {"sl", "Number of Seconds between each add line"},
};
inline constexpr char TXT_SET_SUDDENDEATH_EXAMPLE[] = "180 1 30";

inline constexpr char TXT_SET_SUDDENDEATHMSG_ABOUT[] =
    "pline 0 %cSet the Message sent to players when SuddenDeath mode arrives\xff";
inline constexpr SetValueText TXT_SET_SUDDENDEATHMSG_VALUES[] = {
    {"msg", "Message to send to players"},
};
inline constexpr char TXT_SET_SUDDENDEATHMSG_EXAMPLE[] = "Time's up! It's SUDDEN DEATH MODE!";

inline constexpr char TXT_SET_RULES_ABOUT[] = "pline 0 %cSet the Channel Rules in the game\xff";
inline constexpr SetValueText TXT_SET_RULES_VALUES[] = {
    {"sl", "Starting Level of all players"},     {"ll", "Lines per level"},
    {"li", "Amount level increases each time"},  {"ls", "Lines per special"},
    {"sa", "Number of specials added each time"}, {"sc", "Special Capacity of players"},
    {"cr", "Play with classic rules?"},          {"al", "Average all players levels?"},
};
inline constexpr char TXT_SET_RULES_EXAMPLE[] = "1 2 1 1 1 18 1 1";

inline constexpr char TXT_SET_MISC_ABOUT[] = "pline 0 %cSet Misc options\xff";
inline constexpr SetValueText TXT_SET_MISC_VALUES[] = {
    {"sc", "Strip Colour from GameMessages?"},
    {"sa", "Server Announces winner?"},
    {"pi", "Intercept \"t\" in a Gamemessage as PING?"},
};
inline constexpr char TXT_SET_MISC_EXAMPLE[] = " 1 1 1";

// ---- /winlist, /clear, /save, /reset ---------------------------------------------
inline constexpr char TXT_WINLIST_TITLE[] = "pline 0 %cTop %d Winlist\xff";
inline constexpr char TXT_WINLIST_TEAM[] = "pline 0 %c%d. %4" PRIu64 " - Team %s\xff";
inline constexpr char TXT_WINLIST_PLAYER[] = "pline 0 %c%d. %4" PRIu64 " - Player %s\xff";
inline constexpr char LOG_WINLIST_CLEARED[] = "#%s-%s cleared the winlist\n";
inline constexpr char TXT_SAVED[] = "pline 0 %cGame configuration and Persistant Channel info saved\xff";
inline constexpr char TXT_NOT_SAVED[] = "pline 0 %cGame configuration could NOT be saved!\xff";
inline constexpr char LOG_NOT_SAVED[] = "Game configuration could NOT be saved!\n";
inline constexpr char TXT_LOADED[] = "pline 0 %cGame configuration and Persistant Channel info loaded\xff";
inline constexpr char TXT_NOT_FOUND[] = "pline 0 %cNo game configuration found!\xff";

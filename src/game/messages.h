// Texts the in-channel game protocol sends and logs: the relayed chat and game
// messages, game control and results, and the winlist message. Every game message
// ends in 0xFF; "%c" arguments carry the attribute bytes named beside them.
#pragma once

// Relay of chat and game messages.
inline constexpr const char* MSG_PLINE = "pline %d %c%s\xff";  // byte BYTE_PLINE
inline constexpr const char* MSG_PLINEACT = "plineact %d %s\xff";
inline constexpr const char* MSG_TEAM = "team %d %s\xff";
inline constexpr const char* MSG_PONG = "gmsg * PONG\xff";
inline constexpr const char* MSG_GMSG_TEXT = "gmsg %s\xff";
inline constexpr const char* MSG_GMSG_NAMED = "gmsg %s %s\xff";
// A field update as relayed, and a whole field in its wire form (send_field).
inline constexpr const char* MSG_FIELD = "f %d %s\xff";
inline constexpr const char* MSG_LVL = "lvl %d %d\xff";
inline constexpr const char* MSG_SB = "sb %d %s %d\xff";

constexpr char BYTE_PLINE = 4;

// Game control and results.
inline constexpr const char* MSG_NEWGAME_HEAD = "newgame 0 ";
inline constexpr const char* MSG_NEWGAME_NUMBERS = "%d %d %d %d %d %d ";
inline constexpr const char* MSG_NEWGAME_TAIL = " %d %d\xff";
inline constexpr const char* MSG_GAME_ENDED = "endgame\xff";
inline constexpr const char* MSG_PAUSE = "pause %d\xff";
inline constexpr const char* MSG_PLAYERLOST = "playerlost %d\xff";
inline constexpr const char* MSG_PLAYERWON = "playerwon %d\xff";
inline constexpr const char* MSG_PLAYER_WON = "pline 0 ---- Player %s%c WON ----\xff";  // BYTE_WON
inline constexpr const char* MSG_TEAM_WON = "pline 0 ---- Team %s%c WON ----\xff";      // BYTE_WON

constexpr char BYTE_WON = 4;

// The winlist message: the head, one row text per used row of the top ten, 0xFF.
inline constexpr const char* MSG_WINLIST_HEAD = "winlist";
inline constexpr const char* MSG_WINLIST_ROW = " %c%s;%lu";
inline constexpr const char* MSG_WINLIST_END = "\xff";

// Log lines.
inline constexpr const char* LOG_INVALID_COMMAND = "#%s-%s - Invalid Command - %s\n";
inline constexpr const char* LOG_PLINE = "#%s-%s: %s\n";
inline constexpr const char* LOG_PLINEACT = "#%s-%s acts: %s\n";
inline constexpr const char* LOG_TEAM_CHANGE = "#%s-%s changes team to %s\n";
inline constexpr const char* LOG_GMSG = "#%s-%s: %s\n";
// Without a line end of its own: the next entry continues on the same line.
inline constexpr const char* LOG_FIELD_BAILOUT = "Slot(%s): Bailout error on field update!!";
inline constexpr const char* LOG_STARTED = "#%s-%s started the game\n";
inline constexpr const char* LOG_STOPPED = "#%s-%s stopped the game\n";
inline constexpr const char* LOG_PAUSES = "#%s-%s pauses game\n";
inline constexpr const char* LOG_UNPAUSES = "#%s-%s unpauses game\n";
inline constexpr const char* LOG_LOST = "#%s-%s lost\n";

// Every text the admission and login subsystem sends or logs, in one place so the
// protocol can be read in one sitting. Game messages end in 0xFF (a literal of its
// own, so no hex digit can merge into the escape); plain query answers end in "\n".
#pragma once

// Admission.
inline constexpr const char* MSG_BANNED = "noconnecting You are banned from server!\xff";
inline constexpr const char* MSG_SERVER_FULL = "noconnecting Server is Full!\xff";
inline constexpr const char* LOG_ACCEPT_FAILED = "Failed TELNET incoming connection from %s";
inline constexpr const char* LOG_SERVER_FULL = "Server FULL - Denying\n";
inline constexpr const char* LOG_INCOMING = "Incoming Telnet connection: %s\n";
inline constexpr const char* DEFAULT_CHANNEL_NAME = "lineblox";
inline constexpr const char* NUMBERED_CHANNEL_NAME = "%s%d";

// Pre-login queries: the words, their log lines and their plain-text answers.
inline constexpr const char* QUERY_PLAYERS = "playerquery";
inline constexpr const char* QUERY_VERSION = "version";
inline constexpr const char* QUERY_LISTCHAN = "listchan";
inline constexpr const char* QUERY_LISTUSER = "listuser";
inline constexpr const char* QUERY_WINLIST = "getwinlist";
inline constexpr const char* LOG_QUERY_PLAYERS = "%s: Playerquery request\n";
inline constexpr const char* LOG_QUERY_VERSION = "%s: Version request\n";
inline constexpr const char* LOG_QUERY_LISTCHAN = "%s: ListChan request\n";
inline constexpr const char* LOG_QUERY_LISTUSER = "%s: ListUser request\n";
inline constexpr const char* LOG_QUERY_WINLIST = "%s: GetWinlist request\n";
inline constexpr const char* ANSWER_PLAYERS = "Number of players logged in: %d\n";
inline constexpr const char* ANSWER_VERSION = "%s.%s\n+OK\n";
inline constexpr const char* ANSWER_CHANNEL = "\"%s\" \"%s\" %d %d %d %d\n";
inline constexpr const char* ANSWER_USER = "\"%s\" \"%s\" \"%s\" %d %d %d \"%s\"\n";
inline constexpr const char* ANSWER_WINLIST_ROW = "\"%s\" %c %lu\n";
inline constexpr const char* ANSWER_END = "+OK\n";

// Login.
inline constexpr const char* LOGIN_WORD = "brikkastart";
inline constexpr const char* RESERVED_NICK = "server";
inline constexpr const char* MSG_NICK_NOT_ALLOWED = "noconnecting Nickname %s not allowed!\xff";
inline constexpr const char* MSG_VERSION_MISMATCH =
    "noconnecting Lineblox version (%s) does not match Server's (%s)!\xff";
inline constexpr const char* MSG_NICK_EXISTS = "noconnecting Nickname already exists on server!\xff";
inline constexpr const char* MSG_PLAYERNUM = "playernum %d\xff";
inline constexpr const char* LOG_FULL = "%s: Disconnected because of FULL server.\n";
inline constexpr const char* LOG_INIT_LINE = "INIT: %s\n";
inline constexpr const char* LOG_INVALID_COMMAND =
    "%s: Disconnected due to invalid command (This can be normal)\n";
inline constexpr const char* LOG_FAILED_DECRYPTION = "%s: Disconnected due to failed decryption: %s\n";
inline constexpr const char* LOG_DECRYPTED = "DECR: %s\n";
inline constexpr const char* LOG_INVALID_BRIKKASTART =
    "%s: Disconnected due to invalid brikkastart: %s\n";
inline constexpr const char* LOG_INVALID_NICK = "%s Disconnected due to invalid nickname: %s\n";
inline constexpr const char* LOG_VERSION_NOT_ALLOWED = "%s: Client version (%s) not allowed!\n";
inline constexpr const char* LOG_NICK_EXISTS =
    "%s: Disconnected since nickname already exists on server: %s\n";

// Login line decoding.
inline constexpr const char* LOG_LEARN = "LEARN\n";
inline constexpr const char* LOG_LEARNED_TYPE = "%d\n";
inline constexpr const char* LOG_UNKNOWN_TYPE = "Unknown encryption type at pos %d.\n";
inline constexpr const char* LOG_PERIOD = "total=%d\n";

// Team statement and channel entry.
inline constexpr const char* TEAM_PREFIX = "team %d ";
inline constexpr const char* MSG_PLAYERJOIN_TEAM = "playerjoin %d %s\xff" "team %d %s\xff";
inline constexpr const char* MSG_MOTD_LINE = "pline 0 %s\xff";
inline constexpr const char* MSG_PLAYERLOST = "playerlost %d\xff";
inline constexpr const char* MSG_INGAME = "ingame\xff";
inline constexpr const char* MSG_PAUSED = "pause 1\xff";
inline constexpr const char* MSG_GREETING = "pline 0 %c%s%c %chas joined channel #%s\xff";
inline constexpr char GREETING_NICK_BYTE = 12;
inline constexpr char GREETING_END_NICK_BYTE = 4;
inline constexpr char GREETING_TEXT_BYTE = 12;
inline constexpr const char* LOG_BAD_TEAM = "Incorrect TEAM statement - %s!\n";
inline constexpr const char* LOG_NEW_CONNECTION = "#%s-%s New connection\n";
inline constexpr const char* MOTD_FILE = "game.motd";

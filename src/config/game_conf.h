// game.conf: the reader lays the file over server_settings, channel_defaults and the
// preset channels of its sections; the writer regenerates the whole file from memory.
// Both return 0 on success; the reader returns -1 when the file cannot be opened, the
// writer when the file cannot be written completely.
#pragma once

inline constexpr const char* GAME_CONF_FILE = "game.conf";

int read_game_conf();
// Written atomically: a temporary file in the same directory renamed over the old one,
// so a failed write leaves the previous game.conf untouched.
int write_game_conf();

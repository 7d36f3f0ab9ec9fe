// game.secure: the operator password. The reader empties op_password and refills it
// from the file; the writer creates the commented-out template.
#pragma once

inline constexpr const char* GAME_SECURE_FILE = "game.secure";

int read_game_secure();
int write_game_secure();

// Texts the channel subsystem sends and logs. Every game message ends in 0xFF.
#pragma once

inline constexpr const char* MSG_PLAYERLEAVE = "playerleave %d\xff";
inline constexpr const char* MSG_ENDGAME = "endgame\xff";
inline constexpr const char* MSG_TIMED_OUT = "pline 0 %cYou have timed out! Disconnecting!\xff";
inline constexpr const char* MSG_GMSG = "gmsg %s\xff";
inline constexpr const char* MSG_SUDDEN_DEATH_LINE = "sb 0 a 0\xff";

constexpr char BYTE_TIMED_OUT = 20;

inline constexpr const char* LOG_TIMED_OUT = "#%s-%s: Timed out!\n";
inline constexpr const char* LOG_LOST_CONNECTION = "#%s-%s Lost telnet connection from %s\n";

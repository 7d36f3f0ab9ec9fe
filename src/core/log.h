// game.log: one stamped entry per message, opened and closed for every entry.
// log_msg writes when the level is at most `verbose`; log_write always writes.
// Texts are cut to 767 bytes and never re-read as a format.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

constexpr std::size_t LOG_TEXT_MAX = 767;
inline constexpr const char* LOG_FILE = "game.log";

void log_msg(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
void log_write(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The 15-character stamp ("Dec  9 00:53:12") of a local time.
std::string log_stamp(std::time_t when);
// A formatted text cut for the log: at most 767 bytes, keeping a final newline.
std::string cut_log_text(std::string text);

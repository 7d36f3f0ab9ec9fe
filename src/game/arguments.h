// Reading the arguments of in-channel messages the way the clients write them:
// blank-separated words and decimal integers. A number too large for an int still
// reads (so the message is not "missing" it) but never equals any int: it can match
// no player number and is never relayed as a value.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Space, tab, line feed, vertical tab, form feed, carriage return.
bool is_blank(char c);
std::string_view skip_blanks(std::string_view text);

// A decimal integer after optional blanks and an optional sign, consuming it from
// `in`; nothing (and `in` untouched) when no digit follows. Values beyond int range
// come back saturated outside it.
std::optional<std::int64_t> read_number(std::string_view& in);
// The next run of non-blank characters after optional blanks, consumed from `in`;
// empty when there is none.
std::string_view read_word(std::string_view& in);

bool fits_int(std::int64_t value);
// A number read from a message names this player.
bool number_matches(std::int64_t value, int playernum);

// A first word and the rest of an in-channel line.
struct SplitLine {
  std::string_view word;  // at most FIRST_WORD_MAX characters
  std::string_view rest;  // at most REST_MAX characters, ended by CR or LF
};
constexpr std::size_t FIRST_WORD_MAX = 100;
constexpr std::size_t REST_MAX = 600;
SplitLine split_line(std::string_view line);

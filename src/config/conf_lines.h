// The line grammar shared by game.conf and game.secure, as a pure function over the
// file's text: lines, comments, section headers and key lines. What a key means is
// left to each file's reader; this file only cuts text apart.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t CONF_LINE_MAX = 512;
constexpr std::size_t CONF_SECTION_MAX = 60;
constexpr std::size_t CONF_KEY_MAX = 80;
constexpr std::size_t CONF_VALUE_MAX = 80;

struct ConfGrammar {
  bool sections = true;             // "[name]" lines are headers (game.conf only)
  bool value_ends_at_space = false;  // the value stops at its first white space
};

struct ConfLine {
  bool is_section = false;
  std::string text;  // the line after the comment and the trailing spaces are gone
  std::string name;  // section name (headers)
  std::string key;   // key and value (key lines); either may be empty
  std::string value;
};

// Every non-empty line of the text in order. A line longer than 512 characters is
// read as two (or more) lines; a NUL byte ends the content of its line. A header with
// an empty name ("[]") is dropped here.
std::vector<ConfLine> parse_conf_text(std::string_view text, ConfGrammar grammar);

// A value read as a number: leading white space, an optional sign, decimal digits;
// anything after them is ignored, no digits give 0, and values beyond the 32-bit range
// stop at its ends.
std::int32_t conf_number(std::string_view value);

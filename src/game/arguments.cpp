// Argument reading for in-channel messages. Numbers saturate instead of overflowing,
// so any digit string is safe and an out-of-range one simply matches nothing.
#include "game/arguments.h"

#include <climits>

namespace {

// Far outside int range, far inside int64 range: accumulation stops here.
constexpr std::int64_t SATURATED = std::int64_t{1} << 40;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view skip_blanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;
  return text.substr(i);
}

std::optional<std::int64_t> read_number(std::string_view& in) {
  std::string_view text = skip_blanks(in);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size() || !is_digit(text[i])) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    if (value < SATURATED) value = value * 10 + (text[i] - '0');
  }
  if (value > SATURATED) value = SATURATED;
  in = text.substr(i);
  return negative ? -value : value;
}

std::string_view read_word(std::string_view& in) {
  std::string_view text = skip_blanks(in);
  std::size_t i = 0;
  while (i < text.size() && !is_blank(text[i])) ++i;
  in = text.substr(i);
  return text.substr(0, i);
}

bool fits_int(std::int64_t value) { return value >= INT_MIN && value <= INT_MAX; }

bool number_matches(std::int64_t value, int playernum) {
  return fits_int(value) && static_cast<int>(value) == playernum;
}

SplitLine split_line(std::string_view line) {
  SplitLine split;
  std::string_view in = line;
  // A longer first word can match no known word; it is kept cut for the lookup only.
  split.word = read_word(in).substr(0, FIRST_WORD_MAX);
  std::string_view rest = skip_blanks(in);
  const std::size_t end = rest.find_first_of("\r\n");
  if (end != std::string_view::npos) rest = rest.substr(0, end);
  split.rest = rest.substr(0, REST_MAX);
  return split;
}

// Recognises "remove N" and "quit" in any mix of case. The number follows the C
// library's atoi reading (leading white space, an optional sign, digits) but cannot
// overflow: any value past the last player number simply stays out of range.
#include "operator_command.h"

#include <cctype>

#include "texts.h"

namespace query {
namespace {

bool begins_with_word(std::string_view line, std::string_view word) {
  if (line.size() < word.size()) {
    return false;
  }
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) != word[i]) {
      return false;
    }
  }
  return true;
}

bool is_c_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading decimal number of `text`, 0 when there is none. Accumulation stops once
// the value is past LAST_PLAYER, so the result only has to be told apart from 1..6.
int leading_number(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && is_c_space(text[at])) {
    ++at;
  }
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  int value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    if (value <= LAST_PLAYER) {
      value = value * 10 + (text[at] - '0');
    }
  }
  return negative ? -value : value;
}

}  // namespace

OperatorCommand parse_operator_line(std::string_view line) {
  if (begins_with_word(line, REMOVE_WORD) && line.size() >= REMOVE_MIN_LENGTH) {
    const int player = leading_number(line.substr(REMOVE_NUMBER_OFFSET));
    if (player >= FIRST_PLAYER && player <= LAST_PLAYER) {
      return {OperatorCommand::REMOVE, player};
    }
    return {};
  }
  if (begins_with_word(line, QUIT_WORD)) {
    return {OperatorCommand::QUIT, 0};
  }
  return {};
}

}  // namespace query

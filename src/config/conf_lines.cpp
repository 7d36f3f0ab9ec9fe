// The shared line grammar of the settings files. It works on the whole file text so
// the rules can be tested without files; the readers hand it what they read.
#include "config/conf_lines.h"

#include <algorithm>
#include <limits>

namespace {

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The next raw line: white space (blank lines included) skipped, then at most 512
// characters up to the line end. The rest of a longer line stays for the next call.
bool next_raw_line(std::string_view text, std::size_t& pos, std::string_view& line) {
  while (pos < text.size() && is_white(text[pos])) ++pos;
  if (pos >= text.size()) return false;
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] != '\n' && pos - start < CONF_LINE_MAX) ++pos;
  line = text.substr(start, pos - start);
  return true;
}

std::string_view strip_line(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  line = line.substr(0, line.find('#'));
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  return line;
}

void parse_key_line(std::string_view line, const ConfGrammar& grammar, ConfLine& out) {
  std::size_t pos = 0;
  while (pos < line.size() && pos < CONF_KEY_MAX && line[pos] != '=' && line[pos] != ' ') ++pos;
  out.key.assign(line.substr(0, pos));
  while (pos < line.size() && is_white(line[pos])) ++pos;
  if (pos >= line.size() || line[pos] != '=') return;  // no '=': the value stays empty
  ++pos;
  while (pos < line.size() && is_white(line[pos])) ++pos;
  std::size_t end = pos;
  while (end < line.size() && end - pos < CONF_VALUE_MAX &&
         !(grammar.value_ends_at_space && is_white(line[end]))) {
    ++end;
  }
  out.value.assign(line.substr(pos, end - pos));
}

}  // namespace

std::vector<ConfLine> parse_conf_text(std::string_view text, ConfGrammar grammar) {
  std::vector<ConfLine> lines;
  std::size_t pos = 0;
  std::string_view raw;
  while (next_raw_line(text, pos, raw)) {
    const std::string_view line = strip_line(raw);
    if (line.empty()) continue;
    ConfLine parsed;
    parsed.text.assign(line);
    if (grammar.sections && line.front() == '[' && line.back() == ']') {
      const std::string_view inner = line.substr(1);
      const std::string_view name = inner.substr(0, inner.find(']'));
      if (name.empty()) continue;
      parsed.is_section = true;
      parsed.name.assign(name.substr(0, CONF_SECTION_MAX));
    } else {
      parse_key_line(line, grammar, parsed);
    }
    lines.push_back(std::move(parsed));
  }
  return lines;
}

std::int32_t conf_number(std::string_view value) {
  std::size_t pos = 0;
  while (pos < value.size() && is_white(value[pos])) ++pos;
  bool negative = false;
  if (pos < value.size() && (value[pos] == '+' || value[pos] == '-')) {
    negative = value[pos] == '-';
    ++pos;
  }
  constexpr std::int64_t LIMIT = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; pos < value.size() && value[pos] >= '0' && value[pos] <= '9'; ++pos) {
    magnitude = std::min<std::int64_t>(magnitude * 10 + (value[pos] - '0'), LIMIT);
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(std::min<std::int64_t>(magnitude, LIMIT - 1));
}

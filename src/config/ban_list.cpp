// game.ban: entries of four '.'-separated fields, each 1 to 4 digits or '*', read
// afresh for every connection. Text that forms no entry bans nothing, and reading
// resumes on the next line, so a line the operator commented out stays inert.
#include "config/ban_list.h"

#include <array>
#include <string>

#include "config/file_replace.h"

namespace {

constexpr std::size_t BAN_FIELD_MAX = 4;
constexpr int OCTETS = 4;

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// White space inside an entry, around its dots: an entry stays on one line.
bool is_blank(char c) { return c != '\n' && is_white(c); }

bool is_field_char(char c) { return (c >= '0' && c <= '9') || c == '*'; }

class EntryReader {
 public:
  explicit EntryReader(std::string_view text) : text_(text) {}

  // The next entry's fields; false at the end of the text.
  bool next(std::array<std::string_view, OCTETS>& fields) {
    for (;;) {
      while (pos_ < text_.size() && is_white(text_[pos_])) ++pos_;
      if (pos_ >= text_.size()) return false;
      if (read_entry(fields)) return true;
      skip_line();
    }
  }

 private:
  bool read_entry(std::array<std::string_view, OCTETS>& fields) {
    for (int i = 0; i < OCTETS; ++i) {
      if (i > 0) {
        skip_blanks();
        if (pos_ >= text_.size() || text_[pos_] != '.') return false;
        ++pos_;
        skip_blanks();
      }
      const std::size_t start = pos_;
      while (pos_ < text_.size() && pos_ - start < BAN_FIELD_MAX && is_field_char(text_[pos_])) {
        ++pos_;
      }
      if (pos_ == start) return false;
      fields[i] = text_.substr(start, pos_ - start);
    }
    // Entries are separated by white space: "1.2.3.4x" or a fifth field is no entry.
    return pos_ >= text_.size() || is_white(text_[pos_]);
  }

  void skip_blanks() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
  }

  void skip_line() {
    const std::size_t end = text_.find('\n', pos_);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool field_matches(std::string_view field, unsigned octet) {
  return field == "*" || field == std::to_string(octet);
}

}  // namespace

bool ban_text_matches(std::string_view text, std::uint64_t address) {
  std::array<unsigned, OCTETS> octets{};
  for (int i = 0; i < OCTETS; ++i) {
    octets[i] = static_cast<unsigned>((address >> (8 * (OCTETS - 1 - i))) & 0xff);
  }
  EntryReader reader(text);
  std::array<std::string_view, OCTETS> fields;
  while (reader.next(fields)) {
    bool match = true;
    for (int i = 0; i < OCTETS && match; ++i) match = field_matches(fields[i], octets[i]);
    if (match) return true;
  }
  return false;
}

bool is_banned(std::uint64_t address) {
  std::string text;
  if (!read_whole_file(GAME_BAN_FILE, text)) return false;
  return ban_text_matches(text, address);
}

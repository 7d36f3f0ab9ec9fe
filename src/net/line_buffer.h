// The input remainder of one socket as a value: give it chunks, take lines.
// Lines end at the first 0xFF in the buffered text, or when there is none at the
// first "\n"; the cut sizes (1022/1023) are those of the wire protocol.
#pragma once

#include <optional>
#include <string>
#include <string_view>

constexpr std::size_t READ_CHUNK = 1023;       // bytes asked of one read
constexpr std::size_t LINE_CUT = 1022;         // longest line taken from a long text
constexpr std::size_t WORK_TEXT_MAX = 1023;    // longest text cut into lines at once

class LineBuffer {
 public:
  // A complete line already waits in the remainder.
  bool has_line() const;
  // Takes the waiting line (has_line() must be true); it may be empty.
  std::string take_buffered_line();
  // Joins a freshly read chunk (cut at its first NUL) and cuts it: a line, or
  // nothing when no non-empty line is complete yet.
  std::optional<std::string> take_chunk(std::string_view chunk);

  const std::string& remainder() const { return remainder_; }

 private:
  std::string remainder_;
};

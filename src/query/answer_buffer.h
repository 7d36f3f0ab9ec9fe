// The answer buffer: bytes of a server's answer go in one at a time; a piece to print
// comes out whenever a line is complete or ANSWER_ROOM bytes have gathered without a
// newline. It starts out holding the no-answer mark, which later pieces overwrite.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "texts.h"

namespace query {

class AnswerBuffer {
 public:
  AnswerBuffer();

  // Stores `byte`; returns the piece to print when it completes one. The view is valid
  // until the next call.
  std::optional<std::string_view> take(char byte);

  // End of the stream: the bytes gathered since the last piece, possibly none. When
  // there are none the buffer is left as it is.
  std::string_view finish();

  // True while the buffer begins with the no-answer mark and its terminating NUL: when
  // nothing came back, or when the last line received was exactly the mark.
  bool holds_no_answer_mark() const;

 private:
  std::string_view close_piece();

  std::array<char, ANSWER_ROOM + 1> room_{};  // +1 for the NUL that ends each piece
  std::size_t fill_ = 0;
};

}  // namespace query

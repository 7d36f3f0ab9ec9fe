// Answer buffer. Each piece is ended by a NUL after its last byte, and new bytes are
// stored from the start again; the no-answer test looks at exactly what those steps
// leave behind, so a read cut short leaves its bytes over the start of the buffer.
#include "answer_buffer.h"

#include <algorithm>

namespace query {

AnswerBuffer::AnswerBuffer() {
  std::copy(NO_ANSWER_MARK.begin(), NO_ANSWER_MARK.end(), room_.begin());
  room_[NO_ANSWER_MARK.size()] = '\0';
}

std::optional<std::string_view> AnswerBuffer::take(char byte) {
  room_[fill_++] = byte;
  if (byte == '\n' || fill_ == ANSWER_ROOM) {
    return close_piece();
  }
  return std::nullopt;
}

std::string_view AnswerBuffer::finish() {
  if (fill_ == 0) {
    return {};
  }
  return close_piece();
}

bool AnswerBuffer::holds_no_answer_mark() const {
  return std::string_view(room_.data(), NO_ANSWER_MARK.size()) == NO_ANSWER_MARK &&
         room_[NO_ANSWER_MARK.size()] == '\0';
}

std::string_view AnswerBuffer::close_piece() {
  room_[fill_] = '\0';
  const std::string_view piece(room_.data(), fill_);
  fill_ = 0;
  return piece;
}

}  // namespace query

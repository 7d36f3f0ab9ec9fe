// Line cutting of the socket layer. The rules mirror the framing the clients
// expect: 0xFF wins over "\n" anywhere in the text, over-long texts are delivered
// in 1022/1023-byte pieces, and empty lines read fresh are skipped.
#include "net/line_buffer.h"

namespace {

constexpr char FRAME_END = '\xff';

std::size_t find_terminator(std::string_view text) {
  std::size_t at = text.find(FRAME_END);
  if (at == std::string_view::npos) at = text.find('\n');
  return at;
}

void drop_final_newline(std::string& line) {
  if (!line.empty() && line.back() == '\n') line.pop_back();
}

}  // namespace

bool LineBuffer::has_line() const { return find_terminator(remainder_) != std::string::npos; }

std::string LineBuffer::take_buffered_line() {
  const std::size_t at = find_terminator(remainder_);
  std::string line = remainder_.substr(0, at);
  if (line.size() > LINE_CUT) line.resize(LINE_CUT);
  remainder_.erase(0, at + 1);
  drop_final_newline(line);
  return line;
}

std::optional<std::string> LineBuffer::take_chunk(std::string_view chunk) {
  if (std::size_t nul = chunk.find('\0'); nul != std::string_view::npos) chunk = chunk.substr(0, nul);

  std::string work;
  if (!remainder_.empty()) {
    std::string joined = std::move(remainder_);
    joined.append(chunk);
    remainder_.clear();
    if (joined.size() > WORK_TEXT_MAX) {
      remainder_ = joined.substr(LINE_CUT);
      joined.resize(LINE_CUT);
    }
    work = std::move(joined);
  } else {
    work.assign(chunk);
  }

  const std::size_t at = find_terminator(work);
  if (at != std::string::npos) {
    std::string line = work.substr(0, at);
    drop_final_newline(line);
    remainder_.insert(0, work, at + 1, std::string::npos);
    if (line.empty()) return std::nullopt;
    return line;
  }
  if (work.size() >= LINE_CUT) return work;
  remainder_ = std::move(work);  // nothing was left over by the join in this case
  return std::nullopt;
}

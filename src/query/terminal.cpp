// Standard output and standard input for the operator. stdio buffering is kept (answers
// may run to many lines) and flushed before each blocking read, here or on the socket.
#include "terminal.h"

#include <cstdio>

#include "texts.h"

namespace query {

void print(std::string_view bytes) {
  if (!bytes.empty()) {  // an empty view may have no data pointer at all
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  }
}

void flush_output() { std::fflush(stdout); }

std::optional<std::string> read_operator_line() {
  flush_output();
  std::string line;
  while (line.size() < INPUT_LINE_ROOM) {
    const int c = std::getc(stdin);
    if (c == EOF) {
      break;
    }
    line.push_back(static_cast<char>(c));
    if (c == '\n') {
      break;
    }
  }
  if (line.empty() || std::ferror(stdin)) {
    return std::nullopt;
  }
  return line;
}

}  // namespace query

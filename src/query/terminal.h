// The operator's terminal: everything the client prints goes to standard output through
// `print`, and everything it reads comes from standard input through
// `read_operator_line`. Output is flushed before every wait, so a reader on a pipe sees
// each piece as soon as the client has it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace query {

// Writes the bytes unchanged, NUL bytes included.
void print(std::string_view bytes);
void flush_output();

// One line of at most INPUT_LINE_ROOM bytes, its newline included when it fits; a
// longer line comes back in pieces on later calls. Empty at end of input or on error.
std::optional<std::string> read_operator_line();

}  // namespace query

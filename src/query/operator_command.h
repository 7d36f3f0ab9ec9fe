// Turns one line typed by the operator (or one piece of a line longer than the input
// room) into the next action: a plain query, the removal of a player, or quitting.
// Pure: reads nothing and prints nothing.
#pragma once

#include <string_view>

namespace query {

struct OperatorCommand {
  enum Kind { QUERY, REMOVE, QUIT };
  Kind kind = QUERY;
  int player = 0;  // set for REMOVE only, from FIRST_PLAYER to LAST_PLAYER
};

// `line` holds its newline when it had one.
OperatorCommand parse_operator_line(std::string_view line);

}  // namespace query

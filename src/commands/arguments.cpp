// Argument reading shared by the command handlers.
#include "commands/arguments.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace commands {

std::optional<int> read_int(std::string_view& in) {
  const std::optional<std::int64_t> value = read_number(in);
  if (!value) return std::nullopt;
  return static_cast<int>(std::clamp<std::int64_t>(*value, INT_MIN, INT_MAX));
}

int read_atoi(std::string_view text) { return read_int(text).value_or(0); }

}  // namespace commands

// Reading command arguments on top of the in-channel word and number readers: numbers
// the way atoi reads them (leading blanks, a sign, the leading digits), clamped to the
// int range so that no input can overflow.
#pragma once

#include <optional>
#include <string_view>

#include "game/arguments.h"

namespace commands {

// The number at the start of `in` (after blanks), consumed from it; nothing when no
// digit follows the optional sign. Values past the int range are clamped to it.
std::optional<int> read_int(std::string_view& in);
// atoi: the number, or 0 when there is none.
int read_atoi(std::string_view text);


}  // namespace commands

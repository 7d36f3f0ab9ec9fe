// Partyline commands: recognition by prefix in table order, the permission test
// against the command levels, and the handlers' results.
#pragma once

#include <string_view>

#include "channel/records.h"

Outcome dispatch_command(Client& client, std::string_view text);
// The effective level (stored level, chanop position) is at least `level`.
bool has_level(const Client& client, int level);

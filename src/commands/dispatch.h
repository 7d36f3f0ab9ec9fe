// Partyline commands: recognition by prefix in table order, the permission test
// against the command levels, and the handlers' results.
#pragma once

#include <string_view>

#include "channel/records.h"

// The levels of a client: every player, the chanop, an authenticated op (/op).
constexpr int LEVEL_PLAYER = 1;
constexpr int LEVEL_CHANOP = 2;
constexpr int LEVEL_AUTH_OP = 3;
// command_join 4: only authenticated ops create channels; command_set 4: the chanop
// only in channels that are not persistant.
constexpr int LEVEL_SPECIAL = 4;

Outcome dispatch_command(Client& client, std::string_view text);
// The effective level (stored level, chanop position) is at least `level`.
bool has_level(const Client& client, int level);

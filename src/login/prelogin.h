// Lines of a client in STATE_INIT: the five plain queries, or the encoded login line
// with its nickname and version checks, ending in STATE_TEAM with a player number.
#pragma once

#include <string>

#include "channel/records.h"

Outcome handle_init_line(Client& client, std::string& line);

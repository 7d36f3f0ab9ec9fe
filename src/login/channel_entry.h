// The team statement of a client in STATE_TEAM and its entry into the channel:
// introductions both ways, the message of the day, a running game, the greeting.
#pragma once

#include <string>

#include "channel/records.h"

Outcome handle_team_line(Client& client, std::string& line);

// Lines of a client in STATE_CHANNEL: the first word picks the handler; chat and game
// messages are checked against their sender and relayed to the right members.
#pragma once

#include <string>

#include "channel/records.h"

Outcome handle_channel_line(Client& client, std::string& line);

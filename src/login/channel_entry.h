// The team statement of a client in STATE_TEAM and its entry into the channel:
// introductions both ways, the message of the day, a running game, the greeting.
// A wrong statement closes and removes the client (Outcome::Removed).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "channel/records.h"

constexpr std::size_t MOTD_PIECE_MAX = 1023;

Outcome handle_team_line(Client& client, std::string& line);

// The pieces of a message-of-the-day text as "%1023[^\n]\n" reads them one after the
// other: up to 1023 characters before a line feed, then all white space skipped.
std::vector<std::string> motd_pieces(std::string_view content);

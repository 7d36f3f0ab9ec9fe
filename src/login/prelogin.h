// Lines of a client in STATE_INIT: the five plain queries, or the encoded login line
// with its nickname and version checks, ending in STATE_TEAM with a player number.
// Every refusal closes the socket and removes the client (Outcome::Removed).
#pragma once

#include <string>
#include <string_view>

#include "channel/records.h"

constexpr std::size_t SHORT_LINE_MAX = 6;  // such lines are neither query nor login

Outcome handle_init_line(Client& client, std::string& line);

// The scan "brikkastart %30[^ ] %10s" over a decoded login text: the number of fields
// read (0, 1 or 2). Each field is stored as soon as it is read, as the scan would.
int scan_login_text(std::string_view text, std::string& nick, std::string& version);

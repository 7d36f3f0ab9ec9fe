// Placeholder until the partyline commands land: every command is unknown.
#include "commands/dispatch.h"
#include <algorithm>

#include "net/socket_table.h"

Outcome dispatch_command(Client& client, std::string_view) {
  Tprintf(client.fd, "pline 0 %cInvalid /COMMAND!\xff", 20);
  return Outcome::Kept;
}
bool has_level(const Client& client, int level) {
  return std::max(client.level, is_chanop(client) ? 2 : 1) >= level;
}

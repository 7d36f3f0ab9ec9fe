// Placeholder until admission and login land: connections are accepted and closed.
#include "login/admission.h"
#include "login/channel_entry.h"
#include "login/prelogin.h"
#include "net/listener.h"
#include "net/socket_table.h"

void admit_connection(Client& listener) {
  std::string host;
  std::uint64_t address = 0;
  const int fd = accept_connection(listener.fd, host, address);
  if (fd >= 0) kill_socket(fd);
}
Outcome handle_init_line(Client&, std::string&) { return Outcome::Kept; }
Outcome handle_team_line(Client&, std::string&) { return Outcome::Kept; }

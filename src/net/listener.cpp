// Listening, host lookups and accepting. The resolver calls block the loop; that is
// accepted because they run once per connection and at start-up only.
#include "net/listener.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/server.h"
#include "net/socket_table.h"

namespace {

bool has_dot(const std::string& name) { return name.find('.') != std::string::npos; }

std::string cut(std::string text, std::size_t max) {
  if (text.size() > max) text.resize(max);
  return text;
}

}  // namespace

std::string dotted_address(std::uint64_t address) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>((address >> 24) & 0xff),
                static_cast<unsigned>((address >> 16) & 0xff),
                static_cast<unsigned>((address >> 8) & 0xff), static_cast<unsigned>(address & 0xff));
  return text;
}

int open_socket(std::uint8_t flags) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) fatal_exit("Can't open a socket at all!");
  register_socket(fd, flags);
  return fd;
}

int open_listener(int& port, const std::string& bind_address) {
  const int fd = open_socket(SOCK_LISTENING);

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  if (const hostent* found = ::gethostbyname(bind_address.c_str());
      found != nullptr && found->h_addrtype == AF_INET && found->h_addr_list[0] != nullptr) {
    std::memcpy(&address.sin_addr, found->h_addr_list[0], sizeof address.sin_addr);
  }

  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
    std::puts("ERROR");
    kill_socket(fd);
    return -1;
  }
  sockaddr_in bound{};
  socklen_t length = sizeof bound;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) < 0) {
    std::puts("ERROR");
    kill_socket(fd);
    return -1;
  }
  port = ntohs(bound.sin_port);
  if (::listen(fd, LISTEN_BACKLOG) < 0) {
    std::puts("Erk");
    kill_socket(fd);
    return -1;
  }
  return fd;
}

std::string own_host_name() {
  std::string name;
  if (const char* env = std::getenv("HOSTNAME")) name = cut(env, OWN_HOST_MAX);
  if (has_dot(name)) return name;

  char buffer[81] = {};
  ::gethostname(buffer, 80);
  name = cut(buffer, OWN_HOST_MAX);
  const hostent* found = ::gethostbyname(name.c_str());
  if (found == nullptr) fatal_exit("Hostname self-lookup failed.");
  name = cut(found->h_name != nullptr ? found->h_name : "", OWN_HOST_MAX);
  if (has_dot(name)) return name;
  if (found->h_aliases == nullptr || found->h_aliases[0] == nullptr) {
    fatal_exit("Can't determine your hostname!");
  }
  name = cut(found->h_aliases[0], OWN_HOST_MAX);
  if (!has_dot(name)) fatal_exit("Can't determine your hostname!");
  return name;
}

std::uint32_t own_address() {
  char buffer[121] = {};
  ::gethostname(buffer, 120);
  const hostent* found = ::gethostbyname(buffer);
  if (found == nullptr || found->h_addr_list == nullptr || found->h_addr_list[0] == nullptr) {
    fatal_exit("Hostname self-lookup failed.");
  }
  in_addr first{};
  std::memcpy(&first, found->h_addr_list[0], sizeof first);
  return ntohl(first.s_addr);
}

int accept_connection(int listen_fd, std::string& host, std::uint64_t& address) {
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  const int fd = ::accept(listen_fd, reinterpret_cast<sockaddr*>(&peer), &length);
  if (fd < 0) return -1;
  address = ntohl(peer.sin_addr.s_addr);

  const hostent* found = ::gethostbyaddr(&peer.sin_addr, sizeof peer.sin_addr, AF_INET);
  if (found != nullptr && found->h_name != nullptr && found->h_name[0] != '\0') {
    host = cut(found->h_name, PEER_HOST_MAX);
  } else {
    host = dotted_address(address);
  }

  register_socket(fd, 0);
  // Relayed game messages must not wait for the peer's acknowledgements.
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

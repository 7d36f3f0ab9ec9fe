// TCP sockets of the game port: the listener, accepted connections, the machine's own
// name and address, and the host text of each peer. IPv4 only.
#pragma once

#include <cstdint>
#include <string>

#include <sys/socket.h>

// A backlog of five drops bursts of connections (each dropped SYN costs the peer a
// second's retry), so the queue is as long as the system allows.
constexpr int LISTEN_BACKLOG = SOMAXCONN;
constexpr std::size_t PEER_HOST_MAX = 127;
constexpr std::size_t OWN_HOST_MAX = 79;

// A registered TCP socket; ends the process when none can be created.
int open_socket(std::uint8_t flags);
// Binds `bind_address` (all interfaces when it does not resolve) and `port`; puts the
// bound port back into `port`. -1 on failure, after "ERROR" or "Erk" on stdout.
int open_listener(int& port, const std::string& bind_address);
// The machine's dotted host name, or fatal_exit.
std::string own_host_name();
// The machine's first IPv4 address (host order), or fatal_exit.
std::uint32_t own_address();
// Accepts one connection: -1 when accept fails (errno left as it was), else the
// registered descriptor with the peer's host text and address.
int accept_connection(int listen_fd, std::string& host, std::uint64_t& address);

// "%u.%u.%u.%u" of an address in host order.
std::string dotted_address(std::uint64_t address);

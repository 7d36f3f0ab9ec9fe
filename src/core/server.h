// The spine of the server: start-up in its fixed order, the daemon, the main loop
// with dispatch by client state, end of file, the SIGTERM shutdown and fatal_exit.
#pragma once

#include <string>

#include "channel/records.h"

constexpr int TELNET_PORT = 31457;
inline constexpr const char* SERVER_VERSION = "1.13";
inline constexpr const char* SERVER_BUILD = "16";

// Prints the message and a newline on stdout, closes every member's socket, exit 1.
[[noreturn]] void fatal_exit(const char* message);

void open_game_port();
void dispatch_line(int fd, std::string& line);
void socket_closed(int fd);
[[noreturn]] void shutdown_server();
void remove_pid_file();

// One pass of the main loop (timer tick, flush, one line). Tests drive it directly.
void run_pass();
// The whole program: start-up, fork, then passes until SIGTERM.
[[noreturn]] void run_server();

// The socket table: every open socket of the server, newest first. It owns each
// socket's input remainder and pending output, cuts input into lines, queues what a
// socket cannot take at once and sends every message (Tprintf, Tsend). It speaks of
// descriptors only; clients and channels live elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr std::uint8_t SOCK_LISTENING = 1;

constexpr int READ_CLOSED = -1;
constexpr int READ_SELECT_FAILED = -2;
constexpr int READ_NOTHING = -3;

constexpr std::size_t SEND_CUT = 1022;       // longest message Tprintf sends
constexpr std::size_t SEND_LOG_MIN = 4;      // shorter texts are not logged

// Creates the entry at the head of the table and sets the socket options
// (keep-alive on, lingering off, SO_REUSEADDR for a listener, non-blocking).
void register_socket(int fd, std::uint8_t flags);

// One line from one socket: buffered lines first (newest socket first), else one
// wait of at most a second and one read. Returns the descriptor with the line, or
// READ_CLOSED with the closed descriptor in `closed_fd`, READ_SELECT_FAILED or
// READ_NOTHING. For the listening socket the descriptor comes back with no line.
int read_line(std::string& line, int& closed_fd);

void send_text(int fd, std::string_view text);
void flush_output();
// Formats (printf conventions), cuts to 1022 bytes keeping a final 0xFF, sends and
// logs the text at level 10.
void Tprintf(int fd, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same for a text built elsewhere.
void Tsend(int fd, std::string_view text);
// Flushes every socket, then closes this one and drops its entry.
void kill_socket(int fd);

// Closes every socket and empties the table (start-up and tests).
void reset_socket_table();
bool socket_registered(int fd);
std::size_t pending_output_size(int fd);

// Every text the query client sends or prints, and the limits that shape them, in one
// place: the two requests, the operator's commands and each line the operator can see
// can be compared here with what the query port and the operator expect.
#pragma once

#include <cstddef>
#include <string_view>

namespace query {

constexpr int QUERY_PORT = 31456;

// Requests: "securequery %s" and "killplayer %s %d", each closed by the byte 0xFF,
// which counts towards the 511 bytes a request may take.
constexpr std::string_view QUERY_REQUEST_WORD = "securequery ";
constexpr std::string_view REMOVAL_REQUEST_WORD = "killplayer ";
constexpr char REQUEST_END = '\xff';
constexpr std::size_t REQUEST_ROOM = 511;

// Player numbers a removal may name.
constexpr int FIRST_PLAYER = 1;
constexpr int LAST_PLAYER = 6;

// Operator commands. A removal line counts its newline towards the nine characters it
// needs; its number is read from the eighth character on.
constexpr std::size_t INPUT_LINE_ROOM = 510;
constexpr std::string_view REMOVE_WORD = "remove";
constexpr std::size_t REMOVE_MIN_LENGTH = 9;
constexpr std::size_t REMOVE_NUMBER_OFFSET = 7;
constexpr std::string_view QUIT_WORD = "quit";

// Answers: printed a line at a time, or 1535 bytes at a time when a line runs longer.
constexpr std::size_t ANSWER_ROOM = 1535;
constexpr std::string_view NO_ANSWER_MARK = "error\n";
constexpr std::string_view RULE_LINE =
    "------------------------------------------------------------------------\n";
constexpr std::string_view ANSWERED_REPLY = " ";
constexpr std::string_view NO_RESULT = "No result from server (could be wrong password)\n";

// Replies of a request that got no connection; each is printed on a line of its own.
constexpr std::string_view ERROR_INVALID_HOSTNAME = "Error: Invalid hostname!";
constexpr std::string_view ERROR_NO_SOCKET = "Error: Connection Timeout.";
constexpr std::string_view ERROR_NOT_LISTENING = "Error: Server is shutted down.";

constexpr std::string_view PROMPT =
    "Type \"remove playernumber\" to remove player.\n"
    "Type \"quit\" to quit or enter to query\n";

// Command line: "Usage: %s server_ip server_password\n" with the program's own name.
constexpr std::string_view USAGE_BEFORE_NAME = "Usage: ";
constexpr std::string_view USAGE_AFTER_NAME = " server_ip server_password\n";
constexpr std::string_view DEFAULT_PROGRAM_NAME = "query-client";
constexpr std::string_view PASSWORD_TOO_LONG = "Error: Password too long!\n";

constexpr int EXIT_END_OF_INPUT = 0;
constexpr int EXIT_NO_RESULT = 0;
constexpr int EXIT_QUIT = 1;
constexpr int EXIT_BAD_COMMAND_LINE = 2;

}  // namespace query

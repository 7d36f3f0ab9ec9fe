// The query-client program: `query-client server_ip server_password`. Sends a query at
// once, prints the answer, then takes one operator command per request until quit (1),
// end of input (0) or a server that gives no result (0). A wrong command line is
// refused with status 2 before any connection.
#include <cstdio>
#include <string>
#include <string_view>

#include "operator_command.h"
#include "query_server.h"
#include "requests.h"
#include "terminal.h"
#include "texts.h"

namespace {

void complain(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

}  // namespace

int main(int argc, char** argv) {
  using namespace query;
  if (argc != 3) {
    const std::string_view name =
        argc > 0 && argv[0] != nullptr ? std::string_view(argv[0]) : DEFAULT_PROGRAM_NAME;
    std::string usage(USAGE_BEFORE_NAME);
    usage += name;
    usage += USAGE_AFTER_NAME;
    complain(usage);
    return EXIT_BAD_COMMAND_LINE;
  }
  const std::string address = argv[1];
  const std::string password = argv[2];
  if (!password_fits(password)) {
    complain(PASSWORD_TOO_LONG);
    return EXIT_BAD_COMMAND_LINE;
  }

  std::string request = query_request(password);
  for (;;) {
    const std::optional<std::string_view> reply = query_server(address, QUERY_PORT, request);
    if (!reply) {
      return EXIT_NO_RESULT;
    }
    print(*reply);
    print("\n");

    request = query_request(password);  // a removal is sent once only
    print(PROMPT);
    const std::optional<std::string> line = read_operator_line();
    if (!line) {
      return EXIT_END_OF_INPUT;
    }
    const OperatorCommand command = parse_operator_line(*line);
    if (command.kind == OperatorCommand::QUIT) {
      return EXIT_QUIT;
    }
    if (command.kind == OperatorCommand::REMOVE) {
      request = removal_request(password, command.player);
    }
  }
}

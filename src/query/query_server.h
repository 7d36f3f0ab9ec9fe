// One request to a query port: resolve, connect, send, print the answer between rules.
// Returns the text the caller prints on a line of its own: an error text when no
// connection was made, a single space after an answer. Returns nothing when the server
// gave no result; the "No result" line is then already printed and the caller ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace query {

std::optional<std::string_view> query_server(const std::string& address, int port,
                                             std::string_view request);

}  // namespace query

// The two requests the query port understands, built from the operator's password.
// Callers check `password_fits` once at start-up; after that every request built here
// stays within REQUEST_ROOM.
#pragma once

#include <string>
#include <string_view>

namespace query {

std::string query_request(std::string_view password);
std::string removal_request(std::string_view password, int player);

// True when both requests, removal of the highest player number included, fit.
bool password_fits(std::string_view password);

}  // namespace query

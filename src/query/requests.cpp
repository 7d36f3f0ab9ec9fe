// Builds the query and removal requests. The password goes on the wire unchanged; the
// only check is on length, made once by `password_fits` before any connection.
#include "requests.h"

#include "texts.h"

namespace query {

std::string query_request(std::string_view password) {
  std::string request(QUERY_REQUEST_WORD);
  request += password;
  request += REQUEST_END;
  return request;
}

std::string removal_request(std::string_view password, int player) {
  std::string request(REMOVAL_REQUEST_WORD);
  request += password;
  request += ' ';
  request += std::to_string(player);
  request += REQUEST_END;
  return request;
}

bool password_fits(std::string_view password) {
  // The removal request with the widest player number is the longest request.
  return query_request(password).size() <= REQUEST_ROOM &&
         removal_request(password, LAST_PLAYER).size() <= REQUEST_ROOM;
}

}  // namespace query

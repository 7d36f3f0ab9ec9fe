// Each request resolves the address anew and uses a connection of its own, closed
// before the no-answer check. Writes never raise SIGPIPE: a server that has already gone
// is just a request not written, which the no-answer check then reports.
#include "query_server.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "answer_buffer.h"
#include "terminal.h"
#include "texts.h"

namespace query {
namespace {

class Connection {
 public:
  Connection() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {}
  ~Connection() { close(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool valid() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  void close() {
    if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }

 private:
  int fd_;
};

// IPv4 only: a lookup that yields anything else counts as a failed one.
std::optional<in_addr> resolve(const std::string& address) {
  const hostent* host = ::gethostbyname(address.c_str());
  if (host == nullptr || host->h_addrtype != AF_INET ||
      host->h_length != static_cast<int>(sizeof(in_addr)) || host->h_addr_list[0] == nullptr) {
    return std::nullopt;
  }
  in_addr first{};
  std::memcpy(&first, host->h_addr_list[0], sizeof first);
  return first;
}

bool connect_to(const Connection& connection, in_addr address, int port) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<std::uint16_t>(port));
  peer.sin_addr = address;
  return ::connect(connection.fd(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
}

bool send_request(const Connection& connection, std::string_view request) {
  while (!request.empty()) {
    const ssize_t sent = ::send(connection.fd(), request.data(), request.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) {
      continue;
    }
    if (sent <= 0) {
      return false;
    }
    request.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// Reads until end of stream or a read error. Blocks are read as they come but fed to
// the buffer byte by byte, so pieces are exactly those of a byte-at-a-time reader.
void print_answer(const Connection& connection, AnswerBuffer& buffer) {
  std::array<char, ANSWER_ROOM> block{};
  for (;;) {
    flush_output();
    const ssize_t got = ::read(connection.fd(), block.data(), block.size());
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return;  // what was gathered since the last piece is dropped
    }
    if (got == 0) {
      print(buffer.finish());
      return;
    }
    for (ssize_t i = 0; i < got; ++i) {
      if (const auto piece = buffer.take(block[static_cast<std::size_t>(i)])) {
        print(*piece);
      }
    }
  }
}

}  // namespace

std::optional<std::string_view> query_server(const std::string& address, int port,
                                             std::string_view request) {
  const std::optional<in_addr> resolved = resolve(address);
  if (!resolved) {
    return ERROR_INVALID_HOSTNAME;
  }
  Connection connection;
  if (!connection.valid()) {
    return ERROR_NO_SOCKET;
  }
  if (!connect_to(connection, *resolved, port)) {
    return ERROR_NOT_LISTENING;
  }
  print(RULE_LINE);
  AnswerBuffer buffer;
  if (send_request(connection, request)) {
    print_answer(connection, buffer);
  }
  connection.close();
  if (buffer.holds_no_answer_mark()) {
    print(NO_RESULT);
    return std::nullopt;
  }
  print(RULE_LINE);
  return ANSWERED_REPLY;
}

}  // namespace query

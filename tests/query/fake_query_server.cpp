// Fake query server. The listening socket is bound with SO_REUSEADDR so that tests may
// follow one another on the same port; all descriptors are close-on-exec so the client
// under test never inherits them.
#include "fake_query_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace query_test {
namespace {

constexpr int REQUEST_WAIT_MS = 3000;
constexpr auto HOLD_LIMIT = std::chrono::seconds(5);

void send_all(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t sent = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) {
      continue;
    }
    if (sent <= 0) {
      return;
    }
    done += static_cast<std::size_t>(sent);
  }
}

// The request up to and including its 0xFF, or whatever came before end of stream or
// the time limit.
std::string read_request(int fd) {
  std::string request;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(REQUEST_WAIT_MS);
  while (request.empty() || request.back() != '\xff') {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      break;
    }
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
      continue;
    }
    char byte = 0;
    const ssize_t got = ::read(fd, &byte, 1);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      break;
    }
    request.push_back(byte);
  }
  return request;
}

}  // namespace

FakeQueryServer::FakeQueryServer(std::vector<ScriptedAnswer> answers)
    : answers_(std::move(answers)) {
  // Non-blocking, so that taking a connection that vanished in between never waits.
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  const int on = 1;
  ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(QUERY_PORT);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (listen_fd_ < 0 ||
      ::bind(listen_fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listen_fd_, 16) != 0) {
    throw std::runtime_error("fake query server cannot listen on 127.0.0.1:31456");
  }
  int wake[2];
  if (::pipe2(wake, O_CLOEXEC) != 0) {
    throw std::runtime_error("fake query server cannot make its wake-up pipe");
  }
  wake_read_ = wake[0];
  wake_write_ = wake[1];
  thread_ = std::thread([this] { run(); });
}

FakeQueryServer::~FakeQueryServer() {
  stop();
  ::close(listen_fd_);
  ::close(wake_read_);
  ::close(wake_write_);
}

void FakeQueryServer::release() {
  std::lock_guard lock(mutex_);
  released_ = true;
  changed_.notify_all();
}

std::vector<std::string> FakeQueryServer::stop() {
  if (thread_.joinable()) {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      changed_.notify_all();
    }
    const char wake = 1;
    (void)!::write(wake_write_, &wake, 1);
    thread_.join();
  }
  return requests_;
}

void FakeQueryServer::run() {
  std::size_t served = 0;
  const ScriptedAnswer fallback{"ok\n", false, ""};
  for (;;) {
    pollfd ready[2] = {{listen_fd_, POLLIN, 0}, {wake_read_, POLLIN, 0}};
    if (::poll(ready, 2, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      return;
    }
    // On stopping, connections already made still count: take them all.
    const bool stopping = (ready[1].revents & POLLIN) != 0;
    if ((ready[0].revents & POLLIN) != 0 || stopping) {
      for (;;) {
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
          break;
        }
        serve(fd, served < answers_.size() ? answers_[served] : fallback);
        ++served;
        if (!stopping) {
          break;
        }
      }
    }
    if (stopping) {
      return;
    }
  }
}

void FakeQueryServer::serve(int fd, const ScriptedAnswer& answer) {
  const std::string request = read_request(fd);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  send_all(fd, answer.bytes);
  if (answer.hold) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, HOLD_LIMIT, [this] { return released_ || stopping_; });
    released_ = false;
    lock.unlock();
    send_all(fd, answer.rest);
  }
  ::close(fd);
}

}  // namespace query_test

// Implementation of the end-to-end harness. Everything waits with explicit, short
// bounds so a broken server fails a test instead of hanging it.
#include "support/server_harness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

bool bring_loopback_up() {
  const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (s < 0) return false;
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  bool ok = ::ioctl(s, SIOCGIFFLAGS, &request) == 0;
  request.ifr_flags |= IFF_UP;
  ok = ok && ::ioctl(s, SIOCSIFFLAGS, &request) == 0;
  ::close(s);
  return ok;
}

}  // namespace

void isolate_network() {
  static bool done = false;
  if (done) return;
  done = true;
  // The daemon re-parents to us, so stop() can reap it.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  if (::unshare(CLONE_NEWNET) == 0 && bring_loopback_up()) return;
  static int lock_fd = ::open("/tmp/lineblox-e2e.lock", O_CREAT | O_RDWR, 0666);
  if (lock_fd >= 0) ::flock(lock_fd, LOCK_EX);
}

ServerProcess::ServerProcess() {
  isolate_network();
  char path[] = "/tmp/lineblox-e2e-XXXXXX";
  if (::mkdtemp(path) != nullptr) dir_ = path;
}

ServerProcess::~ServerProcess() {
  if (daemon_running()) {
    ::kill(daemon_pid_, SIGKILL);
    ::waitpid(daemon_pid_, nullptr, 0);
  }
  if (!dir_.empty() && std::getenv("LINEBLOX_KEEP_TEST_DIRS") == nullptr) {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
}

void ServerProcess::write_file(const std::string& name, const std::string& content) const {
  std::ofstream(path(name), std::ios::binary) << content;
}

std::string ServerProcess::read_file(const std::string& name) const {
  std::ifstream in(path(name), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool ServerProcess::file_exists(const std::string& name) const {
  return std::filesystem::exists(path(name));
}

ServerProcess::Started ServerProcess::start(const std::vector<std::string>& env) {
  Started result;
  int out_pipe[2];
  if (::pipe(out_pipe) != 0) return result;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out_pipe[1], 1);
    ::close(out_pipe[0]);
    ::close(out_pipe[1]);
    if (::chdir(dir_.c_str()) != 0) ::_exit(127);
    ::setenv("HOSTNAME", "lineblox.local", 1);
    for (const std::string& setting : env) {
      const auto eq = setting.find('=');
      if (eq == std::string::npos) {
        ::unsetenv(setting.c_str());
      } else {
        ::setenv(setting.substr(0, eq).c_str(), setting.substr(eq + 1).c_str(), 1);
      }
    }
    ::execl(SERVER_BINARY, "server", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out_pipe[1]);
  // The daemon closes its copy of stdout at once, so end of file comes promptly.
  pollfd p{out_pipe[0], POLLIN, 0};
  const auto deadline = Clock::now() + 5s;
  char buffer[512];
  while (Clock::now() < deadline) {
    if (::poll(&p, 1, 100) <= 0) continue;
    const ssize_t n = ::read(out_pipe[0], buffer, sizeof buffer);
    if (n <= 0) break;
    result.out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out_pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

  if (result.status == 0) {
    const auto pid_deadline = Clock::now() + 5s;
    while (Clock::now() < pid_deadline) {
      const std::string text = read_file("game.pid");
      if (!text.empty()) {
        daemon_pid_ = static_cast<pid_t>(std::atoi(text.c_str()));
        break;
      }
      std::this_thread::sleep_for(5ms);
    }
  }
  return result;
}

void ServerProcess::start_ok() {
  const Started started = start();
  ASSERT_EQ(started.status, 0) << started.out;
  ASSERT_GT(daemon_pid_, 0) << "no pid file";
}

bool ServerProcess::daemon_running() const {
  if (daemon_pid_ <= 0) return false;
  return ::waitpid(daemon_pid_, nullptr, WNOHANG) == 0;
}

int ServerProcess::stop() {
  if (daemon_pid_ <= 0) return -1;
  ::kill(daemon_pid_, SIGTERM);
  const auto deadline = Clock::now() + 5s;
  int status = 0;
  while (Clock::now() < deadline) {
    const pid_t done = ::waitpid(daemon_pid_, &status, WNOHANG);
    if (done == daemon_pid_) {
      daemon_pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (done < 0) break;
    std::this_thread::sleep_for(5ms);
  }
  return -1;
}

bool ServerProcess::wait_for_log(const std::string& text, Millis limit) const {
  const auto deadline = Clock::now() + limit;
  do {
    if (read_file("game.log").find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(10ms);
  } while (Clock::now() < deadline);
  return false;
}

std::string encode_login(const std::string& text, int seed, const std::string& key_digits) {
  std::string line;
  char pair[3];
  std::snprintf(pair, sizeof pair, "%02X", seed & 0xff);
  line += pair;
  int prev = seed & 0xff;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int c = static_cast<unsigned char>(text[i]);
    const int digit = key_digits[i % key_digits.size()] - '0';
    const int encoded = ((prev + c) % 255) ^ (48 + digit);
    std::snprintf(pair, sizeof pair, "%02X", encoded & 0xff);
    line += pair;
    prev = encoded;
  }
  return line;
}

TestClient::~TestClient() { close(); }

TestClient::TestClient(TestClient&& other) noexcept
    : entry(std::move(other.entry)), leftover(std::move(other.leftover)), fd_(other.fd_) {
  other.fd_ = -1;
}

bool TestClient::connect(int port) {
  close();
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd_ < 0) return false;
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close();
    return false;
  }
  return true;
}

void TestClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void TestClient::send_raw(const std::string& bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

bool TestClient::fill(Millis limit) {
  if (fd_ < 0) return false;
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(limit.count())) <= 0) return false;
  char buffer[4096];
  const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
  if (n <= 0) return false;
  leftover.append(buffer, static_cast<std::size_t>(n));
  return true;
}

std::optional<std::string> TestClient::read_message(Millis limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    if (const auto at = leftover.find(FF); at != std::string::npos) {
      std::string message = leftover.substr(0, at);
      leftover.erase(0, at + 1);
      return message;
    }
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
    if (left.count() <= 0 || !fill(left)) return std::nullopt;
  }
}

std::optional<std::string> TestClient::read_plain_line(Millis limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    if (const auto at = leftover.find('\n'); at != std::string::npos) {
      std::string line = leftover.substr(0, at);
      leftover.erase(0, at + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
    if (left.count() <= 0 || !fill(left)) return std::nullopt;
  }
}

std::vector<std::string> TestClient::drain(Millis quiet) {
  std::vector<std::string> messages;
  while (auto message = read_message(quiet)) messages.push_back(*message);
  return messages;
}

std::optional<std::vector<std::string>> TestClient::read_until(const std::string& message,
                                                               Millis limit) {
  const auto deadline = Clock::now() + limit;
  std::vector<std::string> before;
  for (;;) {
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    auto got = read_message(left);
    if (!got) return std::nullopt;
    if (*got == message) return before;
    before.push_back(std::move(*got));
  }
}

bool TestClient::wait_closed(Millis limit) {
  const auto deadline = Clock::now() + limit;
  while (fd_ >= 0) {
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) return true;
    leftover.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

bool TestClient::silent(Millis limit) {
  const std::size_t before = leftover.size();
  const auto deadline = Clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
    if (left.count() <= 0) break;
    if (!fill(left)) break;
  }
  return leftover.size() == before;
}

int TestClient::login(const std::string& nick, const std::string& version) {
  send_raw(encode_login("brikkastart " + nick + " " + version) + FF);
  const auto deadline = Clock::now() + 3s;
  while (Clock::now() < deadline) {
    auto message = read_message(3s);
    if (!message) return 0;
    if (message->rfind("playernum ", 0) == 0) return std::atoi(message->c_str() + 10);
    if (message->rfind("noconnecting", 0) == 0) return 0;
  }
  return 0;
}

int TestClient::join(const std::string& nick, const std::string& team) {
  const int number = login(nick);
  if (number == 0) return 0;
  send("team " + std::to_string(number) + " " + team);
  entry.clear();
  const std::string greeting_start = std::string("pline 0 \x0c") + nick + "\x04 \x0chas joined channel #";
  for (;;) {
    auto message = read_message(3s);
    if (!message) return 0;
    entry.push_back(*message);
    if (message->rfind(greeting_start, 0) == 0) return number;
  }
}

std::string greeting(const std::string& nick, const std::string& channel) {
  return std::string("pline 0 \x0c") + nick + "\x04 \x0chas joined channel #" + channel;
}

}  // namespace e2e

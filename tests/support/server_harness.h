// End-to-end test support: a built server started in a scratch directory of its own
// (and, where the system allows, its own network namespace so tests can run side by
// side on port 31457), and a client that speaks the game protocol over TCP.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

constexpr int GAME_PORT = 31457;
constexpr char FF = '\xff';

// Isolates this test process's network (once per process); falls back to a file lock
// that serialises the tests when namespaces are not available.
void isolate_network();

class ServerProcess {
 public:
  ServerProcess();
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  const std::string& dir() const { return dir_; }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  void write_file(const std::string& name, const std::string& content) const;
  std::string read_file(const std::string& name) const;
  bool file_exists(const std::string& name) const;

  // Runs the server binary in the scratch directory with a dotted HOSTNAME (unless
  // `env` overrides it) and waits for the foreground process. On status 0 it also
  // waits for the daemon's pid file.
  struct Started {
    int status = -1;
    std::string out;
  };
  Started start(const std::vector<std::string>& env = {});
  // A successful start, asserted.
  void start_ok();
  // SIGTERM and wait for the daemon to end; returns its exit status.
  int stop();
  pid_t daemon_pid() const { return daemon_pid_; }
  bool daemon_running() const;

  // Waits until game.log contains `text` (bounded).
  bool wait_for_log(const std::string& text, Millis limit = 3000ms) const;

 private:
  std::string dir_;
  pid_t daemon_pid_ = -1;
};

// The login line a game client sends: seed, then each byte of the text scrambled with
// the byte before it and a repeating key of decimal digits.
std::string encode_login(const std::string& text, int seed = 0x4f,
                         const std::string& key_digits = "618");

class TestClient {
 public:
  TestClient() = default;
  ~TestClient();
  TestClient(TestClient&& other) noexcept;
  TestClient& operator=(TestClient&&) = delete;
  TestClient(const TestClient&) = delete;

  bool connect(int port = GAME_PORT);
  void close();
  int fd() const { return fd_; }

  void send_raw(const std::string& bytes) const;
  // A game message: the text and its closing 0xFF.
  void send(const std::string& message) const { send_raw(message + FF); }

  // The next message up to its 0xFF (without it), or nothing within the limit.
  std::optional<std::string> read_message(Millis limit = 2000ms);
  // The next "\n"-terminated line (without it), for the plain query answers.
  std::optional<std::string> read_plain_line(Millis limit = 2000ms);
  // Messages until none arrives within `quiet`.
  std::vector<std::string> drain(Millis quiet = 200ms);
  // Reads messages until one equals `message`; the ones before it are returned.
  std::optional<std::vector<std::string>> read_until(const std::string& message,
                                                     Millis limit = 2000ms);
  // True when the server closes the connection within the limit (bytes before the
  // close are kept in `leftover`).
  bool wait_closed(Millis limit = 2000ms);
  // True when nothing at all arrives within the limit.
  bool silent(Millis limit = 300ms);

  // Logs in with an encoded login line; returns the "playernum" number or 0.
  int login(const std::string& nick, const std::string& version = "1.13");
  // Logs in and states the team; returns the player number (0 on failure). The
  // messages received after the team statement up to the greeting are in `entry`.
  int join(const std::string& nick, const std::string& team = "");

  std::vector<std::string> entry;  // messages seen while entering the channel
  std::string leftover;            // bytes received but not yet taken

 private:
  bool fill(Millis limit);
  int fd_ = -1;
};

// "pline 0 <byte 12><nick><byte 4> <byte 12>has joined channel #<channel>"
std::string greeting(const std::string& nick, const std::string& channel = "lineblox");

}  // namespace e2e

// Runs the built query-client with given arguments and a scripted standard input, and
// collects its standard output, standard error and exit status. Every wait is bounded:
// a client still running at its time limit is killed and reported as timed out.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace query_test {

using Millis = std::chrono::milliseconds;

struct ClientResult {
  int status = -1;         // the exit status, or 128 + signal when killed by one
  bool timed_out = false;
  std::string out;
  std::string err;
};

class ClientProcess {
 public:
  // `args` follow the program name; the whole `input` is written at once and closed.
  ClientProcess(const std::vector<std::string>& args, const std::string& input);
  ~ClientProcess();
  ClientProcess(const ClientProcess&) = delete;
  ClientProcess& operator=(const ClientProcess&) = delete;

  // Reads standard output until it holds at least `size` bytes or `limit` has passed,
  // then keeps reading for `settle` to catch anything printed too early; returns all
  // read so far.
  const std::string& read_output(std::size_t size, Millis limit, Millis settle = Millis(0));

  // Reads both streams to their end and waits for the exit, killing the client once
  // `limit` has passed.
  ClientResult finish(Millis limit = Millis(10000));

 private:
  // One round of reading whatever is ready; false once both streams are closed.
  bool pump(Millis wait);

  pid_t pid_ = -1;
  int out_fd_ = -1;
  int err_fd_ = -1;
  ClientResult result_;
};

// Runs the client to its end.
ClientResult run_client(const std::vector<std::string>& args, const std::string& input);

}  // namespace query_test

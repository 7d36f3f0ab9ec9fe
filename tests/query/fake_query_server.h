// A stand-in query server for the client's end-to-end tests: listens on
// 127.0.0.1:31456, takes one request per connection (up to its 0xFF), records its bytes,
// sends the scripted answer and closes. Every wait it makes is bounded.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace query_test {

constexpr int QUERY_PORT = 31456;

struct ScriptedAnswer {
  std::string bytes;   // sent once the request is in; then the connection is closed
  bool hold = false;   // if set, waits for release() after `bytes`, then sends `rest`
  std::string rest;
};

class FakeQueryServer {
 public:
  // The n-th connection gets answers[n]; any further one gets "ok\n".
  explicit FakeQueryServer(std::vector<ScriptedAnswer> answers = {});
  ~FakeQueryServer();
  FakeQueryServer(const FakeQueryServer&) = delete;
  FakeQueryServer& operator=(const FakeQueryServer&) = delete;

  // Lets a held answer go on.
  void release();

  // Serves whatever connections are still queued, stops, and returns every request
  // received, in the order of the connections.
  std::vector<std::string> stop();

 private:
  void run();
  void serve(int fd, const ScriptedAnswer& answer);

  std::vector<ScriptedAnswer> answers_;
  int listen_fd_ = -1;
  int wake_read_ = -1;
  int wake_write_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool released_ = false;
  bool stopping_ = false;
  std::vector<std::string> requests_;
};

}  // namespace query_test

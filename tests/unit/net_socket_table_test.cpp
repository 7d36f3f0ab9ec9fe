// The socket table over real descriptors: service order, queued output, the send cut
// and closing, with socketpair peers standing in for clients.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "config/settings.h"
#include "net/socket_table.h"
#include "unit/fixture.h"

namespace {

const std::string FF = "\xff";

class SocketTableTest : public ServerStateTest {
 protected:
  // A registered server end and the peer end the test talks through.
  struct Pair {
    int server = -1;
    int peer = -1;
  };
  Pair make_pair() {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    register_socket(fds[0], 0);
    peers_.push_back(fds[1]);
    return {fds[0], fds[1]};
  }
  void TearDown() override {
    for (int fd : peers_) ::close(fd);
    ServerStateTest::TearDown();
  }
  static void put(int fd, const std::string& bytes) {
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What the peer has received: waits up to `wait_ms` for the first bytes only.
  static std::string take(int fd, int wait_ms = 50) {
    std::string got;
    char buffer[65536];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, got.empty() ? wait_ms : 0) > 0) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

 private:
  std::vector<int> peers_;
};

TEST_F(SocketTableTest, NewerSocketsAreServedFirst) {
  const Pair older = make_pair();
  const Pair newer = make_pair();
  put(older.peer, "o1" + FF + "o2" + FF);
  put(newer.peer, "n1" + FF + "n2" + FF);
  std::vector<std::string> order;
  std::string line;
  int closed = -1;
  for (int i = 0; i < 4; ++i) {
    const int fd = read_line(line, closed);
    order.push_back((fd == newer.server ? "new:" : fd == older.server ? "old:" : "?:") + line);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"new:n1", "new:n2", "old:o1", "old:o2"}));
}

TEST_F(SocketTableTest, BufferedLinesAreServedBeforeAnyNewRead) {
  const Pair older = make_pair();
  const Pair newer = make_pair();
  put(older.peer, "o1" + FF + "o2" + FF);
  std::string line;
  int closed = -1;
  ASSERT_EQ(read_line(line, closed), older.server);
  EXPECT_EQ(line, "o1");
  put(newer.peer, "n1" + FF);
  ASSERT_EQ(read_line(line, closed), older.server);
  EXPECT_EQ(line, "o2");
  ASSERT_EQ(read_line(line, closed), newer.server);
  EXPECT_EQ(line, "n1");
}

TEST_F(SocketTableTest, EndOfFileReportsTheClosedDescriptor) {
  const Pair pair = make_pair();
  put(pair.peer, "partial");
  std::string line;
  int closed = -1;
  EXPECT_EQ(read_line(line, closed), READ_NOTHING);
  ::shutdown(pair.peer, SHUT_WR);
  EXPECT_EQ(read_line(line, closed), READ_CLOSED);
  EXPECT_EQ(closed, pair.server);
}

TEST_F(SocketTableTest, OutputQueuesBehindPendingTextAndKeepsOrder) {
  const Pair pair = make_pair();
  int size = 4096;
  ::setsockopt(pair.server, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
  std::string big;
  for (int i = 0; big.size() < (1u << 20); ++i) big += std::to_string(i) + ",";
  send_text(pair.server, big);
  ASSERT_GT(pending_output_size(pair.server), 0u);
  send_text(pair.server, "tail");
  // Texts sent while the queue drains in partial writes go out behind it, in order.
  std::string expected = big + "tail";
  std::string got;
  for (int pass = 0; pending_output_size(pair.server) > 0; ++pass) {
    const std::string more = "<" + std::to_string(pass) + ">";
    send_text(pair.server, more);
    expected += more;
    got += take(pair.peer, 0);
    flush_output();
  }
  got += take(pair.peer);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(pending_output_size(pair.server), 0u);
  send_text(pair.server, "direct");  // nothing queued any more: written at once
  EXPECT_EQ(take(pair.peer), "direct");
}

TEST_F(SocketTableTest, PeerThatStopsReadingIsCutOffAsClosed) {
  const Pair pair = make_pair();
  const std::string block(64 * 1024, 'z');
  for (int i = 0; i < 200 && !pending_output_size(pair.server); ++i) send_text(pair.server, block);
  // Far more than any reading client ever has waiting: 16 MiB on top.
  for (int i = 0; i < 256; ++i) send_text(pair.server, block);
  EXPECT_LE(pending_output_size(pair.server), std::size_t{8} << 20);
  std::string line;
  int closed = -1;
  EXPECT_EQ(read_line(line, closed), READ_CLOSED);
  EXPECT_EQ(closed, pair.server);
}

TEST_F(SocketTableTest, TprintfCutsLongMessagesKeepingTheTerminator) {
  const Pair pair = make_pair();
  Tprintf(pair.server, "%s\xff", std::string(2000, 'a').c_str());
  Tprintf(pair.server, "pline 0 %s", std::string(2000, 'b').c_str());
  Tprintf(pair.server, "ok\xff");
  const std::string got = take(pair.peer);
  EXPECT_EQ(got, std::string(1021, 'a') + FF + "pline 0 " + std::string(1014, 'b') + "ok" + FF);
}

TEST_F(SocketTableTest, TprintfLogsTextsOfFourBytesOrMore) {
  server_settings.verbose = 10;
  const Pair pair = make_pair();
  Tprintf(pair.server, "abc");
  Tprintf(pair.server, "abcd\xff");
  const std::string log = read_file("game.log");
  EXPECT_EQ(log.find("Tprintf(" + std::to_string(pair.server) + "): abc\n"), std::string::npos);
  EXPECT_NE(log.find(" Tprintf(" + std::to_string(pair.server) + "): abcd\xff\n"),
            std::string::npos);
}

TEST_F(SocketTableTest, KillSocketFlushesEverySocketFirst) {
  const Pair stuck = make_pair();
  const Pair other = make_pair();
  int size = 4096;
  ::setsockopt(other.server, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
  send_text(other.server, std::string(1 << 20, 'y'));
  const std::size_t before = pending_output_size(other.server);
  ASSERT_GT(before, 0u);
  take(other.peer);  // room for more
  kill_socket(stuck.server);
  EXPECT_LT(pending_output_size(other.server), before);
  EXPECT_FALSE(socket_registered(stuck.server));
  char byte;
  EXPECT_EQ(::read(stuck.peer, &byte, 1), 0);  // closed
}

#if !defined(__SANITIZE_ADDRESS__)
// The process's current address space in bytes (VmSize), 0 when unknown.
rlim_t address_space_in_use() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmSize:") {
      rlim_t kilobytes = 0;
      status >> kilobytes;
      return kilobytes * 1024;
    }
  }
  return 0;
}

// Output for a peer that never reads has no limit, so memory can run out while it is
// queued: the server logs it and goes on. Run in a child whose address space is capped.
TEST_F(SocketTableTest, OutputThatCannotBeStoredIsDroppedAndLogged) {
  server_settings.verbose = 4;
  const Pair stuck = make_pair();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The text is made before the cap; queueing what the peer does not take of it
    // then needs more memory than is left.
    const std::string block(6u << 20, 'x');
    rlimit cap{};
    ::getrlimit(RLIMIT_AS, &cap);
    cap.rlim_cur = address_space_in_use() + (2u << 20);
    if (::setrlimit(RLIMIT_AS, &cap) != 0) ::_exit(2);
    for (int i = 0; i < 4 && read_file("game.log").empty(); ++i) send_text(stuck.server, block);
    const std::size_t queued = pending_output_size(stuck.server);
    send_text(stuck.server, "small");
    const bool logged = read_file("game.log").find(" *** FAILED MALLOC") != std::string::npos;
    const bool still_queues = pending_output_size(stuck.server) == queued + 5;
    ::_exit(logged && still_queues ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the process died";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

TEST_F(SocketTableTest, UnknownDescriptorsAreIgnored) {
  send_text(-1, "x");
  send_text(999, "x");
  kill_socket(999);
  EXPECT_FALSE(socket_registered(999));
}

}  // namespace

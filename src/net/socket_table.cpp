// Socket table, line input and queued output. The table order (newest first) is kept
// as a registration sequence number, so the "first in table order" of every walk is
// the highest number; side indexes keep the walks that run on every pass (buffered
// lines, pending output, readiness) from touching idle sockets. Pending output is
// written from where the last write stopped, so a peer that never reads costs one
// failed write per pass, not a copy of everything queued for it.
#include "net/socket_table.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <memory>
#include <new>
#include <set>
#include <vector>

#include "core/log.h"
#include "net/line_buffer.h"

namespace {

constexpr int WAIT_MS = 1000;
// A peer with this much output waiting has stopped reading: it is cut off like a
// lost connection, so one silent client cannot make the server grow without end.
constexpr std::size_t PENDING_OUTPUT_MAX = std::size_t{8} << 20;
inline constexpr const char* LOG_STALLED = "Socket(%d): peer stopped reading - Closing\n";
// Logged (without a line end) when output cannot be queued for want of memory.
inline constexpr const char* LOG_FAILED_MALLOC = "*** FAILED MALLOC";

struct SocketEntry {
  int fd = -1;
  std::uint8_t flags = 0;
  std::uint64_t seq = 0;
  LineBuffer input;
  std::string pending;            // pending output: the bytes from pending_sent on
  std::size_t pending_sent = 0;
  std::size_t poll_index = 0;
  bool stalled = false;  // shut down for not reading; its end of file is on its way

  bool has_pending() const { return pending_sent < pending.size(); }
};

using BySeq = std::set<std::pair<std::uint64_t, int>, std::greater<>>;  // newest first

struct SocketTable {
  std::vector<std::unique_ptr<SocketEntry>> by_fd;
  std::vector<pollfd> polled;  // any order; entries know their slot
  BySeq with_line;             // entries whose remainder holds a complete line
  BySeq with_pending;          // entries with pending output
  std::uint64_t next_seq = 1;

  SocketEntry* find(int fd) {
    if (fd < 0 || static_cast<std::size_t>(fd) >= by_fd.size()) return nullptr;
    return by_fd[fd].get();
  }
};

SocketTable table;

void note_line_state(SocketEntry& e) {
  if (e.input.has_line()) {
    table.with_line.emplace(e.seq, e.fd);
  } else {
    table.with_line.erase({e.seq, e.fd});
  }
}

// Writes as much of `text` as the socket takes; the count of bytes written.
std::size_t write_some(int fd, std::string_view text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// A socket without pending output: write now, queue what the socket did not take.
void write_now(SocketEntry& e, std::string_view text) {
  const std::size_t done = write_some(e.fd, text);
  if (done < text.size()) {
    table.with_pending.emplace(e.seq, e.fd);  // first: a failed assign leaves no text
    e.pending.assign(text.substr(done));
    e.pending_sent = 0;
  }
}

// One write attempt for the pending output. The written prefix is dropped only once
// it is at least half of the buffer, so each byte is moved a bounded number of times.
void write_pending(SocketEntry& e) {
  const std::string_view rest = std::string_view(e.pending).substr(e.pending_sent);
  e.pending_sent += write_some(e.fd, rest);
  if (!e.has_pending()) {
    e.pending.clear();
    e.pending_sent = 0;
    table.with_pending.erase({e.seq, e.fd});
  } else if (e.pending_sent >= e.pending.size() / 2) {
    e.pending.erase(0, e.pending_sent);
    e.pending_sent = 0;
  }
}

// Waits for input and reads one chunk from the first ready socket in table order.
int wait_for_input(std::string& chunk, SocketEntry*& ready) {
  chunk.clear();
  ready = nullptr;
  if (table.polled.empty()) {
    ::poll(nullptr, 0, WAIT_MS);
    return READ_NOTHING;
  }
  for (pollfd& p : table.polled) p.revents = 0;
  const int n = ::poll(table.polled.data(), table.polled.size(), WAIT_MS);
  if (n < 0) return READ_SELECT_FAILED;
  if (n == 0) return READ_NOTHING;
  for (const pollfd& p : table.polled) {
    if (p.revents == 0) continue;
    SocketEntry* e = table.find(p.fd);
    if (e != nullptr && (ready == nullptr || e->seq > ready->seq)) ready = e;
  }
  if (ready == nullptr) return READ_NOTHING;
  if (ready->flags & SOCK_LISTENING) return 0;

  char buffer[READ_CHUNK];
  const ssize_t got = ::read(ready->fd, buffer, sizeof buffer);
  if (got <= 0) return READ_CLOSED;
  chunk.assign(buffer, static_cast<std::size_t>(got));
  return 0;
}

}  // namespace

void register_socket(int fd, std::uint8_t flags) {
  if (fd < 0) return;
  if (static_cast<std::size_t>(fd) >= table.by_fd.size()) table.by_fd.resize(fd + 1);
  auto entry = std::make_unique<SocketEntry>();
  entry->fd = fd;
  entry->flags = flags;
  entry->seq = table.next_seq++;
  entry->poll_index = table.polled.size();
  table.polled.push_back(pollfd{fd, POLLIN, 0});
  table.by_fd[fd] = std::move(entry);

  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  const linger no_linger{0, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &no_linger, sizeof no_linger);
  if (flags & SOCK_LISTENING) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  ::fcntl(fd, F_SETFL, O_NONBLOCK);
}

int read_line(std::string& line, int& closed_fd) {
  line.clear();
  if (!table.with_line.empty()) {
    const int fd = table.with_line.begin()->second;
    SocketEntry& e = *table.find(fd);
    line = e.input.take_buffered_line();
    note_line_state(e);
    return fd;
  }

  std::string chunk;
  SocketEntry* e = nullptr;
  const int result = wait_for_input(chunk, e);
  if (result == READ_CLOSED) {
    closed_fd = e->fd;
    return READ_CLOSED;
  }
  if (result < 0) return result;
  if (e->flags & SOCK_LISTENING) return e->fd;

  std::optional<std::string> got = e->input.take_chunk(chunk);
  note_line_state(*e);
  if (!got) return READ_NOTHING;
  line = std::move(*got);
  return e->fd;
}

// Output to a peer that does not read is kept without limit, so it is here that memory
// can run out: the text that cannot be stored is dropped and the server goes on.
void send_text(int fd, std::string_view text) {
  SocketEntry* e = table.find(fd);
  if (e == nullptr || text.empty()) return;
  if (e->stalled) return;
  try {
    if (e->has_pending()) {
      if (e->pending.size() - e->pending_sent + text.size() > PENDING_OUTPUT_MAX) {
        // Its next read reports end of file and the usual departure follows.
        e->stalled = true;
        ::shutdown(e->fd, SHUT_RDWR);
        log_msg(4, LOG_STALLED, e->fd);
        return;
      }
      e->pending.append(text);
    } else {
      write_now(*e, text);
    }
  } catch (const std::bad_alloc&) {
    try {
      log_msg(4, "%s", LOG_FAILED_MALLOC);
    } catch (const std::bad_alloc&) {
    }
  }
}

void flush_output() {
  if (table.with_pending.empty()) return;
  std::vector<int> order;
  order.reserve(table.with_pending.size());
  for (const auto& [seq, fd] : table.with_pending) order.push_back(fd);
  for (int fd : order) {
    SocketEntry* e = table.find(fd);
    if (e != nullptr && e->has_pending()) write_pending(*e);
  }
}

void Tsend(int fd, std::string_view text) {
  std::string cut;
  if (text.size() > SEND_CUT) {
    // A cut message keeps its closing 0xFF so it cannot merge with the next one.
    const bool framed = text.back() == '\xff';
    cut.assign(text.substr(0, framed ? SEND_CUT - 1 : SEND_CUT));
    if (framed) cut.push_back('\xff');
    text = cut;
  }
  send_text(fd, text);
  if (text.size() >= SEND_LOG_MIN) {
    log_msg(10, "Tprintf(%d): %.*s\n", fd, static_cast<int>(text.size()), text.data());
  }
}

void Tprintf(int fd, const char* format, ...) {
  char small[1024];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (needed < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(needed) < sizeof small) {
    va_end(again);
    Tsend(fd, std::string_view(small, static_cast<std::size_t>(needed)));
    return;
  }
  std::string text(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  text.pop_back();
  Tsend(fd, text);
}

void kill_socket(int fd) {
  flush_output();
  SocketEntry* e = table.find(fd);
  if (e == nullptr) return;
  ::close(fd);
  table.with_line.erase({e->seq, fd});
  table.with_pending.erase({e->seq, fd});
  const std::size_t slot = e->poll_index;
  if (slot + 1 != table.polled.size()) {
    table.polled[slot] = table.polled.back();
    table.find(table.polled[slot].fd)->poll_index = slot;
  }
  table.polled.pop_back();
  table.by_fd[fd].reset();
}

void reset_socket_table() {
  for (auto& e : table.by_fd) {
    if (e) ::close(e->fd);
  }
  table = SocketTable{};
}

bool socket_registered(int fd) { return table.find(fd) != nullptr; }

std::size_t pending_output_size(int fd) {
  const SocketEntry* e = table.find(fd);
  return e == nullptr ? 0 : e->pending.size() - e->pending_sent;
}

// Cost of serving one input line while many other sockets sit idle: buffered lines
// and output flushes must not walk the idle sockets. Run: build/bench/server_bench.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "config/settings.h"
#include "net/line_buffer.h"
#include "net/socket_table.h"

namespace {

void BM_LineBufferCut(benchmark::State& state) {
  std::string chunk;
  while (chunk.size() + 40 < READ_CHUNK) chunk += "f 1 !33445566778899:;<=>?@ABCDEFGH\xff";
  for (auto _ : state) {
    LineBuffer buffer;
    auto first = buffer.take_chunk(chunk);
    benchmark::DoNotOptimize(first);
    while (buffer.has_line()) benchmark::DoNotOptimize(buffer.take_buffered_line());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * chunk.size()));
}
BENCHMARK(BM_LineBufferCut);

// One busy socket among `idle` others: each iteration takes one buffered line and
// flushes output, as one pass of the main loop does.
void BM_BufferedLineAmongIdleSockets(benchmark::State& state) {
  server_settings.verbose = 0;
  reset_socket_table();
  std::vector<int> peers;
  for (int i = 0; i < state.range(0); ++i) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) break;
    register_socket(fds[0], 0);
    peers.push_back(fds[1]);
  }
  int busy[2];
  ::socketpair(AF_UNIX, SOCK_STREAM, 0, busy);
  register_socket(busy[0], 0);
  std::string burst;
  for (int i = 0; i < 50; ++i) burst += "pline 1 hello\xff";

  std::string line;
  int closed = -1;
  for (auto _ : state) {
    state.PauseTiming();
    if (::write(busy[1], burst.data(), burst.size()) < 0) break;
    benchmark::DoNotOptimize(read_line(line, closed));  // reads the burst
    state.ResumeTiming();
    for (int i = 1; i < 50; ++i) {
      flush_output();
      benchmark::DoNotOptimize(read_line(line, closed));
    }
  }
  state.SetItemsProcessed(state.iterations() * 49);
  reset_socket_table();
  for (int fd : peers) ::close(fd);
  ::close(busy[1]);
}
BENCHMARK(BM_BufferedLineAmongIdleSockets)->Arg(10)->Arg(1000)->Arg(5000);

// A pass over a peer that never reads, with `megabytes` queued for it: the flush
// costs one failed write, whatever the size of the queue.
void BM_FlushToPeerThatNeverReads(benchmark::State& state) {
  server_settings.verbose = 0;
  reset_socket_table();
  int stuck[2];
  ::socketpair(AF_UNIX, SOCK_STREAM, 0, stuck);
  register_socket(stuck[0], 0);
  const std::string block(1 << 20, 'x');
  for (int i = 0; i < state.range(0); ++i) send_text(stuck[0], block);
  for (auto _ : state) {
    flush_output();
    send_text(stuck[0], "pline 1 hello\xff");
  }
  reset_socket_table();
  ::close(stuck[1]);
}
BENCHMARK(BM_FlushToPeerThatNeverReads)->Arg(1)->Arg(64);

}  // namespace

// Client runner: fork and exec of the program named by QUERY_CLIENT_PATH, with pipes on
// its three standard streams. Only async-signal-safe calls run between fork and exec,
// since the fake server's thread may be running in this process.
#include "client_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace query_test {
namespace {

using Clock = std::chrono::steady_clock;

void close_fd(int& fd) {
  if (fd >= 0) {
    ::close(fd);
    fd = -1;
  }
}

int decode_status(int raw) {
  if (WIFEXITED(raw)) {
    return WEXITSTATUS(raw);
  }
  if (WIFSIGNALED(raw)) {
    return 128 + WTERMSIG(raw);
  }
  return -1;
}

}  // namespace

ClientProcess::ClientProcess(const std::vector<std::string>& args, const std::string& input) {
  // A client that ends before reading its input must not kill the test with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);

  std::vector<std::string> words{QUERY_CLIENT_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);

  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
    throw std::runtime_error("cannot make pipes for the client");
  }
  pid_ = ::fork();
  if (pid_ < 0) {
    throw std::runtime_error("cannot fork the client");
  }
  if (pid_ == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  out_fd_ = out[0];
  err_fd_ = err[0];

  // The inputs are far smaller than a pipe's capacity, so this never waits on the child.
  std::size_t done = 0;
  while (done < input.size()) {
    const ssize_t put = ::write(in[1], input.data() + done, input.size() - done);
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      break;
    }
    done += static_cast<std::size_t>(put);
  }
  ::close(in[1]);
}

ClientProcess::~ClientProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  close_fd(out_fd_);
  close_fd(err_fd_);
}

bool ClientProcess::pump(Millis wait) {
  pollfd streams[2] = {{out_fd_, POLLIN, 0}, {err_fd_, POLLIN, 0}};
  if (out_fd_ < 0 && err_fd_ < 0) {
    return false;
  }
  if (::poll(streams, 2, static_cast<int>(wait.count())) <= 0) {
    return true;
  }
  int* fds[2] = {&out_fd_, &err_fd_};
  std::string* sinks[2] = {&result_.out, &result_.err};
  for (int i = 0; i < 2; ++i) {
    if (*fds[i] < 0 || streams[i].revents == 0) {
      continue;
    }
    char block[4096];
    const ssize_t got = ::read(*fds[i], block, sizeof block);
    if (got > 0) {
      sinks[i]->append(block, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      close_fd(*fds[i]);
    }
  }
  return out_fd_ >= 0 || err_fd_ >= 0;
}

const std::string& ClientProcess::read_output(std::size_t size, Millis limit, Millis settle) {
  const auto deadline = Clock::now() + limit;
  while (result_.out.size() < size && Clock::now() < deadline) {
    if (!pump(Millis(10))) {
      break;
    }
  }
  const auto settled = Clock::now() + settle;
  while (Clock::now() < settled && pump(Millis(10))) {
  }
  return result_.out;
}

ClientResult ClientProcess::finish(Millis limit) {
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline && pump(Millis(10))) {
  }
  int raw = 0;
  while (::waitpid(pid_, &raw, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      result_.timed_out = true;
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &raw, 0);
      break;
    }
    ::usleep(1000);
  }
  pid_ = -1;
  result_.status = decode_status(raw);
  return result_;
}

ClientResult run_client(const std::vector<std::string>& args, const std::string& input) {
  ClientProcess client(args, input);
  return client.finish();
}

}  // namespace query_test

// A scoped cap on the size of files this process may write, to make a file write fail
// part way in a test (root ignores permissions, but not this). Writes past the cap
// fail with EFBIG instead of raising SIGXFSZ.
#pragma once

#include <signal.h>
#include <sys/resource.h>

class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_limit_);
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit capped = old_limit_;
    capped.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~FileSizeCap() {
    ::setrlimit(RLIMIT_FSIZE, &old_limit_);
    ::signal(SIGXFSZ, old_handler_);
  }
  FileSizeCap(const FileSizeCap&) = delete;
  FileSizeCap& operator=(const FileSizeCap&) = delete;

 private:
  rlimit old_limit_{};
  sighandler_t old_handler_ = nullptr;
};

// Atomic replacement through a temporary file and rename(2). The temporary file is
// created exclusively in the target's directory (so the rename cannot cross file
// systems), gets the old file's permission bits, and is flushed to disk before the
// rename, so a crash leaves either the old or the new file, never a torn one. Where
// the directory does not let the server create that file, an existing writable file
// is written in place instead.
#include "config/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

namespace {

constexpr int TEMP_ATTEMPTS = 100;
constexpr int SYMLINK_HOPS_MAX = 40;
constexpr mode_t NEW_FILE_MODE = 0666;  // narrowed by the umask, like any new file

// The file that is really replaced: symbolic links are followed (even to a file that
// does not exist yet), so replacing neither turns the operator's link into a plain
// file nor writes where the link does not point.
std::string resolve_target(const std::string& path) {
  std::filesystem::path target(path);
  for (int hop = 0; hop < SYMLINK_HOPS_MAX; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) break;
    const std::filesystem::path next = std::filesystem::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target.string();
}

// Creates a fresh temporary file next to `target`; its name goes to `temp_path`.
int create_temp(const std::string& target, std::string& temp_path) {
  const std::filesystem::path target_path(target);
  const std::string base = target_path.filename().string();
  const std::filesystem::path dir = target_path.parent_path();
  for (int attempt = 0; attempt < TEMP_ATTEMPTS; ++attempt) {
    const std::string name =
        "." + base + ".new." + std::to_string(::getpid()) + "." + std::to_string(attempt);
    temp_path = (dir / name).string();
    const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          NEW_FILE_MODE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool write_all(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

bool replace_file(const std::string& path, std::string_view content) {
  const std::string target = resolve_target(path);
  // A file the operator made read-only stays as it is, as it would for a write in
  // place: the rename alone would not need its write permission.
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) return false;
  std::string temp_path;
  const int fd = create_temp(target, temp_path);
  if (fd < 0) {
    // A directory the server may not write to still holds files it may write: those
    // are rewritten in place, as the only way left to keep what they are meant to store.
    const bool directory_closed = errno == EACCES || errno == EPERM;
    return directory_closed && ::access(target.c_str(), W_OK) == 0 &&
           write_new_file(target, content);
  }

  struct stat old_file {};
  bool ok = true;
  if (::stat(target.c_str(), &old_file) == 0) {
    ok = ::fchmod(fd, old_file.st_mode & 07777) == 0;
  }
  ok = ok && write_all(fd, content);
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp_path.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp_path.c_str());
  return ok;
}

bool write_new_file(const std::string& path, std::string_view content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, NEW_FILE_MODE);
  if (fd < 0) return false;
  const bool written = write_all(fd, content);
  return ::close(fd) == 0 && written;
}

bool read_whole_file(const std::string& path, std::string& content, std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  content.clear();
  char buffer[4096];
  for (;;) {
    std::size_t want = sizeof buffer;
    if (limit != 0) {
      if (content.size() >= limit) break;
      want = std::min(want, limit - content.size());
    }
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

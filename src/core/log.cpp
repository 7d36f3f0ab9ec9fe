// The levelled log. The file is reopened for every entry so that it may be moved or
// deleted at any time; a file that cannot be opened loses the entry silently.
#include "core/log.h"

#include <cstdarg>
#include <cstdio>

#include "config/settings.h"
#include "core/clock.h"

namespace {

std::string vformat(const char* format, va_list args) {
  va_list again;
  va_copy(again, args);
  char small[1024];
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  if (needed < 0) {
    va_end(again);
    return {};
  }
  std::string text;
  if (static_cast<std::size_t>(needed) < sizeof small) {
    text.assign(small, static_cast<std::size_t>(needed));
  } else {
    text.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.pop_back();
  }
  va_end(again);
  return text;
}

void append_entry(const std::string& text) {
  std::FILE* file = std::fopen(LOG_FILE, "a");
  if (file == nullptr) return;
  const std::string stamp = log_stamp(now_seconds());
  std::fwrite(stamp.data(), 1, stamp.size(), file);
  std::fputc(' ', file);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

}  // namespace

std::string log_stamp(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%s %2d %02d:%02d:%02d", months[local.tm_mon % 12],
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return stamp;
}

std::string cut_log_text(std::string text) {
  if (text.size() > LOG_TEXT_MAX) {
    // An entry that lost its newline to the cut keeps one, so the next entry
    // starts on a line of its own.
    const bool ended_line = text.back() == '\n';
    text.resize(ended_line ? LOG_TEXT_MAX - 1 : LOG_TEXT_MAX);
    if (ended_line) text.push_back('\n');
  }
  return text;
}

void log_msg(int level, const char* format, ...) {
  if (level > server_settings.verbose) return;
  va_list args;
  va_start(args, format);
  std::string text = vformat(format, args);
  va_end(args);
  append_entry(cut_log_text(std::move(text)));
}

void log_write(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformat(format, args);
  va_end(args);
  append_entry(cut_log_text(std::move(text)));
}

// The winlist table and game.winlist, its 4800-byte image. Reading lays the image over
// the table and throws everything away when the used prefix holds an impossible row;
// writing replaces the file atomically so a failed write keeps the old scores.
#include "config/winlist.h"

#include <algorithm>
#include <cstring>

#include "config/file_replace.h"
#include "core/log.h"

WinlistTable winlist;

namespace {

constexpr std::size_t KIND_OFFSET = 0;
constexpr std::size_t NAME_OFFSET = 1;
constexpr std::size_t SCORE_OFFSET = 32;
constexpr std::size_t SCORE_SIZE = 8;
constexpr std::size_t USED_OFFSET = 40;
constexpr std::size_t WINLIST_NAME_MAX = WINLIST_NAME_FIELD - 1;

void put_record(char* record, const WinlistEntry& row) {
  record[KIND_OFFSET] = row.kind;
  const std::string_view name = row.name_text();
  std::copy(name.begin(), name.end(), record + NAME_OFFSET);
  for (std::size_t i = 0; i < SCORE_SIZE; ++i) {
    record[SCORE_OFFSET + i] = static_cast<char>((row.score >> (8 * i)) & 0xff);
  }
  record[USED_OFFSET] = static_cast<char>(row.used);
}

WinlistEntry get_record(std::string_view record) {
  WinlistEntry row;
  row.kind = record[KIND_OFFSET];
  std::copy_n(record.begin() + NAME_OFFSET, WINLIST_NAME_FIELD, row.name.begin());
  for (std::size_t i = 0; i < SCORE_SIZE; ++i) {
    row.score |= std::uint64_t{static_cast<unsigned char>(record[SCORE_OFFSET + i])} << (8 * i);
  }
  row.used = static_cast<std::uint8_t>(record[USED_OFFSET]);
  return row;
}

bool row_valid(const WinlistEntry& row) {
  const bool terminated = std::find(row.name.begin(), row.name.end(), '\0') != row.name.end();
  return row.score != 0 && (row.kind == KIND_PLAYER || row.kind == KIND_TEAM) && terminated;
}

}  // namespace

std::string_view WinlistEntry::name_text() const {
  const auto end = std::find(name.begin(), name.end(), '\0');
  return std::string_view(name.data(), static_cast<std::size_t>(end - name.begin()));
}

void WinlistEntry::set_name(std::string_view text) {
  name.fill('\0');
  text = text.substr(0, WINLIST_NAME_MAX);
  std::copy(text.begin(), text.end(), name.begin());
}

std::string winlist_image(const WinlistTable& table) {
  std::string image(WINLIST_FILE_SIZE, '\0');
  for (std::size_t i = 0; i < table.size(); ++i) {
    put_record(image.data() + i * WINLIST_RECORD_SIZE, table[i]);
  }
  return image;
}

// A trailing partial record is ignored: its row keeps what it held, like the rows
// past the end of a short file.
void load_winlist_image(WinlistTable& table, std::string_view image) {
  const std::size_t rows = std::min(image.size() / WINLIST_RECORD_SIZE, table.size());
  for (std::size_t i = 0; i < rows; ++i) {
    table[i] = get_record(image.substr(i * WINLIST_RECORD_SIZE, WINLIST_RECORD_SIZE));
  }
}

bool winlist_valid(const WinlistTable& table) {
  for (const WinlistEntry& row : table) {
    if (row.used == 0) return true;
    if (!row_valid(row)) return false;
  }
  return true;
}

void clear_winlist() {
  for (WinlistEntry& row : winlist) {
    row.score = 0;
    row.used = 0;
  }
}

void read_winlist() {
  std::string image;
  if (!read_whole_file(WINLIST_FILE, image, WINLIST_FILE_SIZE)) return;
  load_winlist_image(winlist, image);
  if (!winlist_valid(winlist)) {
    log_msg(3, "Invalid Winlist - Resetting to 0!\n");
    clear_winlist();
  }
}

void write_winlist() { replace_file(WINLIST_FILE, winlist_image(winlist)); }

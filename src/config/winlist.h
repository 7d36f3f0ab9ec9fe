// The 100-row winlist table and its file image game.winlist (100 records of 48 bytes,
// scores little-endian). Used rows form a prefix ordered by score, highest first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int WINLIST_ROWS = 100;
constexpr char KIND_PLAYER = 'p';
constexpr char KIND_TEAM = 't';
constexpr std::size_t WINLIST_NAME_FIELD = 31;  // 30 characters and a zero byte
constexpr std::size_t WINLIST_RECORD_SIZE = 48;
constexpr std::size_t WINLIST_FILE_SIZE = WINLIST_RECORD_SIZE * WINLIST_ROWS;

inline constexpr const char* WINLIST_FILE = "game.winlist";

struct WinlistEntry {
  char kind = 0;
  std::array<char, WINLIST_NAME_FIELD> name{};  // zero-terminated when valid
  std::uint64_t score = 0;
  std::uint8_t used = 0;

  std::string_view name_text() const;  // up to the first zero byte (at most 31 bytes)
  void set_name(std::string_view text);  // first 30 characters, zero-padded
};

using WinlistTable = std::array<WinlistEntry, WINLIST_ROWS>;
extern WinlistTable winlist;

void clear_winlist();
void read_winlist();
// Atomic replace; a failed write leaves the old file untouched.
void write_winlist();

// The file image of a table, and a table laid over by an image of any length (rows
// the image covers completely are replaced; the rest keep their contents).
std::string winlist_image(const WinlistTable& table);
void load_winlist_image(WinlistTable& table, std::string_view image);
// The validity scan: true when every row up to the first empty one is valid.
bool winlist_valid(const WinlistTable& table);

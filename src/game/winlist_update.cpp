// Crediting wins in the winlist table and the winlist message. The update keeps the
// table's order: used rows first, highest score first, equal scores oldest first.
// Storing and loading the table belong to the config subsystem.

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "core/text.h"
#include "game/colour.h"
#include "game/game_control.h"
#include "game/messages.h"
#include "net/socket_table.h"

namespace {

constexpr int WINLIST_SHOWN = 10;  // rows the winlist message carries
constexpr std::size_t WINLIST_NAME_MAX = WINLIST_NAME_FIELD - 1;  // 30 characters
constexpr std::size_t WINLIST_ROW_TEXT_MAX = 64;

}  // namespace

void winlist_add(WinlistTable& table, std::string_view name, char kind, int points) {
  if (points <= 0) return;  // credits only ever add
  const auto gain = static_cast<std::uint64_t>(points);
  const std::string_view kept_name = name.substr(0, WINLIST_NAME_MAX);

  int changed = -1;
  int first_empty = -1;
  for (int i = 0; i < WINLIST_ROWS; ++i) {
    const WinlistEntry& row = table[i];
    if (!row.used) {
      first_empty = i;
      break;
    }
    if (row.kind == kind && same_text_ignoring_case(row.name_text(), kept_name)) {
      changed = i;
      break;
    }
  }

  if (changed >= 0) {
    table[changed].score += gain;
  } else {
    const int position = first_empty >= 0 ? first_empty : WINLIST_ROWS - 1;
    WinlistEntry& row = table[position];
    // An empty row takes the name whatever score a stale image left in it; a full
    // table gives its last row up only to more points than it holds.
    if (row.used && row.score >= gain) return;
    row.kind = kind;
    row.set_name(kept_name);
    row.score = gain;
    row.used = 1;
    changed = position;
  }

  for (int i = changed; i > 0; --i) {
    const WinlistEntry& above = table[i - 1];
    if (above.used && above.score >= table[i].score) break;
    std::swap(table[i - 1], table[i]);
  }
}

void winlist_add(std::string_view name, char kind, int points) {
  winlist_add(winlist, name, kind, points);
}

std::string winlist_message(const WinlistTable& table) {
  std::string message = MSG_WINLIST_HEAD;
  for (int i = 0; i < WINLIST_SHOWN; ++i) {
    const WinlistEntry& row = table[i];
    if (!row.used) continue;
    const std::string name = strip_colour(row.name_text());
    // A row text holds at most a kind byte, 31 name bytes and 20 digits.
    char text[WINLIST_ROW_TEXT_MAX];
    const int length = std::snprintf(text, sizeof text, MSG_WINLIST_ROW, row.kind, name.c_str(),
                                     static_cast<unsigned long>(row.score));
    if (length > 0)
      message.append(text, std::min(static_cast<std::size_t>(length), sizeof text - 1));
  }
  message += MSG_WINLIST_END;
  return message;
}

void send_winlist(const Channel& channel, const Client* only) {
  const std::string message = winlist_message(winlist);
  if (only != nullptr) {
    if (only->is_player()) Tsend(only->fd, message);
    return;
  }
  for (const auto& member : channel.members) {
    if (member->is_player()) Tsend(member->fd, message);
  }
}

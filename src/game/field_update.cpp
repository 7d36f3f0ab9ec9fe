// Field updates from "f" messages: a full 264-character field or a sequence of
// partial groups. Every cell written is addressed through column and row characters
// whose ranges keep it inside the 264 bytes; whatever the text, nothing else is touched.
#include <cstdint>

#include "channel/records.h"
#include "core/log.h"
#include "game/field.h"
#include "game/messages.h"

namespace {

constexpr unsigned char BLOCK_FIRST = '!';  // cell 0
constexpr unsigned char BLOCK_LAST = '/';   // cell 14
constexpr unsigned char COLUMN_FIRST = '3';
constexpr unsigned char COLUMN_LAST = COLUMN_FIRST + FIELD_WIDTH - 1;  // '>'
constexpr unsigned char ROW_FIRST = '3';
constexpr unsigned char ROW_LAST = ROW_FIRST + FIELD_HEIGHT - 1;  // 'H'
constexpr unsigned char FULL_FIELD_ZERO = '0';
constexpr unsigned char UPDATE_END = 0xFF;

bool in_range(unsigned char c, unsigned char first, unsigned char last) {
  return c >= first && c <= last;
}

std::size_t cell_index(int column, int row) {
  return static_cast<std::size_t>(column) * FIELD_HEIGHT + static_cast<std::size_t>(row);
}

void apply_full_field(Field& field, std::string_view text) {
  // A 264-character text that opens with a block character is not taken as a field.
  if (in_range(static_cast<unsigned char>(text[0]), BLOCK_FIRST, BLOCK_LAST)) return;
  for (int row = 0; row < FIELD_HEIGHT; ++row) {
    for (int column = 0; column < FIELD_WIDTH; ++column) {
      const auto c = static_cast<unsigned char>(text[row * FIELD_WIDTH + column]);
      field[cell_index(column, row)] = static_cast<std::uint8_t>(c - FULL_FIELD_ZERO);
    }
  }
}

void bail_out(const Client& client) { log_msg(2, LOG_FIELD_BAILOUT, client.nick.c_str()); }

void apply_partial_update(Client& client, std::string_view text) {
  std::size_t pos = 0;
  auto at_end = [&] {
    return pos >= text.size() || static_cast<unsigned char>(text[pos]) == UPDATE_END;
  };
  while (!at_end()) {
    const auto block = static_cast<unsigned char>(text[pos]);
    if (!in_range(block, BLOCK_FIRST, BLOCK_LAST)) {
      bail_out(client);
      return;
    }
    ++pos;
    const auto cell = static_cast<std::uint8_t>(block - BLOCK_FIRST);
    while (!at_end() &&
           in_range(static_cast<unsigned char>(text[pos]), COLUMN_FIRST, COLUMN_LAST)) {
      const int column = static_cast<unsigned char>(text[pos]) - COLUMN_FIRST;
      ++pos;
      if (pos >= text.size() ||
          !in_range(static_cast<unsigned char>(text[pos]), ROW_FIRST, ROW_LAST)) {
        bail_out(client);
        return;
      }
      const int row = static_cast<unsigned char>(text[pos]) - ROW_FIRST;
      ++pos;
      client.field[cell_index(column, row)] = cell;
    }
  }
}

}  // namespace

void apply_field_update(Client& client, std::string_view text) {
  if (text.size() == static_cast<std::size_t>(FIELD_SIZE)) {
    apply_full_field(client.field, text);
  } else {
    apply_partial_update(client, text);
  }
}

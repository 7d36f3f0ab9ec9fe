// The wire form of a field: 264 characters row by row, specials as their letters,
// every other cell byte v as the character v + 48. Channel entry, game control and
// /join show fields through send_field; the updates that write cells live elsewhere.
#include <string>

#include "game/field.h"
#include "game/messages.h"
#include "net/socket_table.h"

namespace {

constexpr int FIRST_SPECIAL = 6;
constexpr int LAST_SPECIAL = 14;
constexpr int CELL_CHARACTER_BASE = 48;

}  // namespace

std::string field_wire_form(const Field& field) {
  std::string wire;
  wire.reserve(FIELD_SIZE);
  for (int row = 0; row < FIELD_HEIGHT; ++row) {
    for (int column = 0; column < FIELD_WIDTH; ++column) {
      const int cell = field[column * FIELD_HEIGHT + row];
      if (cell >= FIRST_SPECIAL && cell <= LAST_SPECIAL) {
        wire.push_back(SPECIAL_LETTERS[cell - FIRST_SPECIAL]);
      } else {
        wire.push_back(static_cast<char>(cell + CELL_CHARACTER_BASE));
      }
    }
  }
  return wire;
}

void send_field(const Client& to, const Client& of) {
  Tprintf(to.fd, MSG_FIELD, of.playernum, field_wire_form(of.field).c_str());
}

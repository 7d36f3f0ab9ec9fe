// The wire form of a field: stored column by column, sent row by row, specials as
// their letters and every other byte as itself plus 48; send_field's one message.
#include <gtest/gtest.h>

#include <string>

#include "game/field.h"
#include "unit/channel_peers.h"

namespace {

TEST(FieldWireForm, CellsGoOutRowByRowWithSpecialsAsLetters) {
  struct Case {
    int column, row, value;
    std::size_t at;  // position in the wire form
    char sent;
  };
  const Case cases[] = {
      {0, 0, 0, 0, '0'},   {1, 0, 5, 1, '5'},    {0, 1, 6, 12, 'a'},  {11, 21, 14, 263, 'o'},
      {3, 2, 7, 27, 'c'},  {4, 2, 8, 28, 'n'},   {5, 2, 9, 29, 'r'},  {6, 2, 10, 30, 's'},
      {7, 2, 11, 31, 'b'}, {8, 2, 12, 32, 'g'},  {9, 2, 13, 33, 'q'}, {2, 5, 15, 62, '?'},
      {2, 6, 49, 74, 'a'},  // a letter stored by a full update comes back as itself
  };
  for (const Case& c : cases) {
    Field field{};
    field[c.column * FIELD_HEIGHT + c.row] = static_cast<std::uint8_t>(c.value);
    std::string expected(FIELD_SIZE, '0');
    expected[c.at] = c.sent;
    EXPECT_EQ(field_wire_form(field), expected) << c.column << "," << c.row;
  }
}

class SendFieldTest : public ChannelPeersTest {};

TEST_F(SendFieldTest, OneMessageWithTheOwnersNumber) {
  Channel& channel = create_channel("c");
  Peer to = add(channel, "To", 1);
  Peer of = add(channel, "Of", 4);
  of.client->field[FIELD_HEIGHT] = 2;  // cell (1, 0)
  send_field(*to.client, *of.client);
  EXPECT_EQ(take(to.fd), "f 4 02" + std::string(262, '0') + "\xff");
  EXPECT_TRUE(take(of.fd).empty());
}

}  // namespace

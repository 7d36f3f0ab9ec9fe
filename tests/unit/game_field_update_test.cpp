// Field updates from "f" texts: full fields, partial groups, bailouts with their log
// line, and the guarantee that no text writes outside the 264 cells.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "game/field.h"
#include "unit/game_support.h"

namespace {

constexpr std::uint8_t UNTOUCHED = 9;
const std::string BAILOUT = "Slot(Alice): Bailout error on field update!!";

std::size_t cell(int column, int row) { return static_cast<std::size_t>(column * 22 + row); }

// A full field text: every character '0' except the ones given by (column, row).
std::string full_field(const std::map<std::pair<int, int>, char>& cells, char first = '0') {
  std::string text(264, '0');
  text[0] = first;
  for (const auto& [at, c] : cells) text[static_cast<std::size_t>(at.second * 12 + at.first)] = c;
  return text;
}

struct UpdateCase {
  const char* name;
  std::string text;
  std::map<std::size_t, std::uint8_t> expected;  // cells written; all others untouched
  bool all_written = false;                      // a full field: cells not listed are 0
  bool bailout = false;
};

std::vector<UpdateCase> update_cases() {
  return {
      {"full zero field", std::string(264, '0'), {}, true},
      {"full field is stored row by row",
       full_field({{{1, 0}, '5'}, {{0, 1}, ';'}, {{11, 21}, '>'}, {{3, 4}, 'a'}}),
       {{cell(1, 0), 5}, {cell(0, 1), 11}, {cell(11, 21), 14}, {cell(3, 4), 49}},
       true},
      {"full field keeps any byte as byte minus 48",
       full_field({{{2, 2}, '\xff'}, {{5, 5}, ' '}}),
       {{cell(2, 2), 0xFF - 48}, {cell(5, 5), static_cast<std::uint8_t>(' ' - 48)}},
       true},
      {"full field opening with a blank is a field",
       full_field({}, ' '),
       {{cell(0, 0), static_cast<std::uint8_t>(' ' - 48)}},
       true},
      {"full field opening with '!' is ignored", full_field({}, '!'), {}},
      {"full field opening with '#' is ignored", full_field({}, '#'), {}},
      {"full field opening with '/' is ignored", full_field({}, '/'), {}},
      {"263 characters are a partial update", std::string(263, '0'), {}, false, true},
      {"265 characters are a partial update", std::string(265, '0'), {}, false, true},
      {"empty text", "", {}},
      {"one pair", "!33", {{cell(0, 0), 0}}},
      {"last row", "'3H", {{cell(0, 21), 6}}},
      {"last cell", "/>H", {{cell(11, 21), 14}}},
      {"several pairs in a group",
       "(3344>H",
       {{cell(0, 0), 7}, {cell(1, 1), 7}, {cell(11, 21), 7}}},
      {"several groups", "&34'35", {{cell(0, 1), 5}, {cell(0, 2), 6}}},
      {"group without pairs", "!'35", {{cell(0, 2), 6}}},
      {"0xFF ends the update", "!33\xff!44", {{cell(0, 0), 0}}},
      {"0xFF alone", "\xff", {}},
      {"row character out of range", "!3X", {}, false, true},
      {"row character below range", "!32", {}, false, true},
      {"column at the end of the text", "!3", {}, false, true},
      {"0xFF after a column", "!3\xff", {}, false, true},
      {"not a block character", "X33", {}, false, true},
      {"cells before a bailout keep their values",
       "!33&44X",
       {{cell(0, 0), 0}, {cell(1, 1), 5}},
       false,
       true},
      {"column past the last column", "!?3", {}, false, true},
  };
}

class FieldUpdateTest : public GameTest {};

TEST_F(FieldUpdateTest, AppliesFullAndPartialTextsAndBailsOut) {
  Channel& channel = create_channel("lineblox");
  Client& alice = add_member(channel, "Alice", 1);
  for (const UpdateCase& c : update_cases()) {
    SCOPED_TRACE(c.name);
    alice.field.fill(UNTOUCHED);
    const int bailouts_before = log_count(BAILOUT);
    apply_field_update(alice, c.text);
    for (std::size_t i = 0; i < alice.field.size(); ++i) {
      const auto written = c.expected.find(i);
      const std::uint8_t want =
          written != c.expected.end() ? written->second : (c.all_written ? 0 : UNTOUCHED);
      ASSERT_EQ(alice.field[i], want) << "cell " << i;
    }
    EXPECT_EQ(log_count(BAILOUT) - bailouts_before, c.bailout ? 1 : 0);
  }
}

// Arbitrary bytes of arbitrary lengths: only the field changes, and only through
// values a partial or full update can produce.
TEST_F(FieldUpdateTest, ArbitraryTextsTouchNothingButTheField) {
  Channel& channel = create_channel("lineblox");
  Client& alice = add_member(channel, "Alice", 1);
  alice.idle_left = 77;
  alice.level = 1;
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    const std::size_t length = round % 3 == 0 ? 264 : random() % 700;
    std::string text(length, '\0');
    for (char& c : text) {
      // Mostly characters of the update alphabet, so long runs of pairs occur.
      c = static_cast<char>(random() % 4 == 0 ? random() % 256 : '!' + random() % 40);
    }
    apply_field_update(alice, text);
  }
  EXPECT_EQ(alice.idle_left, 77);
  EXPECT_EQ(alice.level, 1);
  EXPECT_EQ(alice.nick, "Alice");
  EXPECT_EQ(alice.playernum, 1);
  EXPECT_EQ(alice.state, STATE_CHANNEL);
}

}  // namespace

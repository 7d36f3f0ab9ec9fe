// Crediting wins in the winlist table and the winlist message sent to players.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_control.h"
#include "unit/game_support.h"

namespace {

struct Row {
  char kind;
  std::string name;
  std::uint64_t score;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << row.kind << row.name << ";" << row.score;
}

WinlistTable table_of(const std::vector<Row>& rows) {
  WinlistTable table{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    table[i].kind = rows[i].kind;
    std::copy(rows[i].name.begin(), rows[i].name.end(), table[i].name.begin());
    table[i].score = rows[i].score;
    table[i].used = 1;
  }
  return table;
}

std::vector<Row> rows_of(const WinlistTable& table) {
  std::vector<Row> rows;
  for (const WinlistEntry& entry : table) {
    if (!entry.used) break;
    rows.push_back({entry.kind, std::string(entry.name.data()), entry.score});
  }
  return rows;
}

// 100 rows "n0".."n99" with scores from `top` downwards, never below `floor`.
std::vector<Row> full_rows(std::uint64_t top, std::uint64_t floor) {
  std::vector<Row> rows;
  for (int i = 0; i < WINLIST_ROWS; ++i) {
    const std::uint64_t score = top > static_cast<std::uint64_t>(i) + floor ? top - i : floor;
    rows.push_back({'p', "n" + std::to_string(i), score});
  }
  return rows;
}

struct AddCase {
  const char* name;
  std::vector<Row> before;
  std::string add_name;
  char kind;
  int points;
  std::vector<Row> after;
};

std::vector<AddCase> add_cases() {
  const std::string long_name(40, 'x');
  std::vector<AddCase> cases = {
      {"first row of an empty table", {}, "Alice", 'p', 3, {{'p', "Alice", 3}}},
      {"new name goes below higher scores",
       {{'p', "Alice", 9}, {'t', "Red", 6}},
       "Bob",
       'p',
       3,
       {{'p', "Alice", 9}, {'t', "Red", 6}, {'p', "Bob", 3}}},
      {"new name stays below equal scores",
       {{'p', "Alice", 3}},
       "Bob",
       'p',
       3,
       {{'p', "Alice", 3}, {'p', "Bob", 3}}},
      {"existing row found without regard to case, its name kept",
       {{'p', "ALICE", 3}},
       "alice",
       'p',
       3,
       {{'p', "ALICE", 6}}},
      {"a team and a player of one name are two rows",
       {{'t', "Red", 3}},
       "Red",
       'p',
       3,
       {{'t', "Red", 3}, {'p', "Red", 3}}},
      {"moves up past every smaller score",
       {{'p', "A", 9}, {'p', "B", 6}, {'p', "C", 5}, {'p', "D", 4}},
       "D",
       'p',
       7,
       {{'p', "D", 11}, {'p', "A", 9}, {'p', "B", 6}, {'p', "C", 5}}},
      {"equal score after the credit stays below",
       {{'p', "A", 9}, {'p', "B", 6}, {'p', "C", 3}},
       "C",
       'p',
       3,
       {{'p', "A", 9}, {'p', "B", 6}, {'p', "C", 6}}},
      {"names are kept to 30 characters and found again",
       {{'p', std::string(30, 'x'), 3}},
       long_name,
       'p',
       3,
       {{'p', std::string(30, 'x'), 6}}},
      {"no points, no change", {{'p', "A", 3}}, "B", 'p', 0, {{'p', "A", 3}}},
  };

  // Full tables.
  cases.push_back({"full table of scores of at least 3 keeps a new name out", full_rows(200, 3),
                   "New", 'p', 3, full_rows(200, 3)});
  cases.push_back(
      {"full table of 3s keeps a new 3 out", full_rows(3, 3), "New", 'p', 3, full_rows(3, 3)});

  // Rows 0..47 hold 50 down to 3, rows 48..99 hold 2.
  std::vector<Row> low_after = full_rows(50, 2);
  low_after.pop_back();
  low_after.insert(low_after.begin() + 48, {'p', "New", 3});
  cases.push_back({"full table gives its last row to a higher score, which moves up",
                   full_rows(50, 2), "New", 'p', 3, low_after});

  std::vector<Row> existing_after = full_rows(3, 3);
  existing_after.pop_back();
  existing_after.insert(existing_after.begin(), {'p', "n99", 6});
  cases.push_back({"full table: an existing last row still gains and moves up", full_rows(3, 3),
                   "n99", 'p', 3, existing_after});
  return cases;
}

TEST(WinlistAdd, TableOfTables) {
  for (const AddCase& c : add_cases()) {
    SCOPED_TRACE(c.name);
    WinlistTable table = table_of(c.before);
    winlist_add(table, c.add_name, c.kind, c.points);
    EXPECT_EQ(rows_of(table), c.after);
  }
}

// An empty row takes a new name even when an old image left a score in it.
TEST(WinlistAdd, StaleScoreInAnEmptyRowDoesNotBlock) {
  WinlistTable table = table_of({{'p', "A", 9}});
  table[1].score = 50;
  winlist_add(table, "B", 'p', 3);
  EXPECT_EQ(rows_of(table), (std::vector<Row>{{'p', "A", 9}, {'p', "B", 3}}));
}

class SendWinlistTest : public GameTest {};

TEST_F(SendWinlistTest, TopTenWithoutColourToPlayersOnly) {
  std::vector<Row> rows;
  rows.push_back({'p',
                  "Al\x03ic\x14"
                  "e",
                  std::uint64_t{1} << 40});
  rows.push_back({'t', "Red", 3});
  for (int i = 0; i < 10; ++i) rows.push_back({'p', "x" + std::to_string(i), 1});
  winlist = table_of(rows);

  Channel& channel = create_channel("lineblox");
  Client& init = add_member(channel, "???", 0, STATE_INIT);
  Client& team = add_member(channel, "Bob", 2, STATE_TEAM);
  Client& member = add_member(channel, "Carol", 1);

  std::string expected = "winlist pAlice;1099511627776 tRed;3";
  for (int i = 0; i < 8; ++i) expected += " px" + std::to_string(i) + ";1";

  send_winlist(channel, nullptr);
  EXPECT_EQ(received(member), std::vector<std::string>{expected});
  EXPECT_EQ(received(team), std::vector<std::string>{expected});
  EXPECT_TRUE(received(init).empty());

  send_winlist(channel, &init);
  send_winlist(channel, &team);
  EXPECT_TRUE(received(init).empty());
  EXPECT_EQ(received(team), std::vector<std::string>{expected});
  EXPECT_TRUE(received(member).empty());

  // The table keeps the colour bytes.
  EXPECT_EQ(std::string(winlist[0].name.data()),
            "Al\x03ic\x14"
            "e");
}

TEST(WinlistMessage, EmptyTable) { EXPECT_EQ(winlist_message(WinlistTable{}), "winlist\xff"); }

// A file may be loaded with holes (row 0 empty, later rows used): the message shows
// the used rows among the first ten, wherever they stand, and nothing past row 9.
TEST(WinlistMessage, UsedRowsAmongTheFirstTen) {
  WinlistTable table{};
  for (const int i : {1, 9, 10}) {
    table[i].kind = KIND_TEAM;
    table[i].set_name("t" + std::to_string(i));
    table[i].score = static_cast<std::uint64_t>(20 - i);
    table[i].used = 1;
  }
  table[0].kind = KIND_PLAYER;
  table[0].set_name("gone");
  EXPECT_EQ(winlist_message(table), "winlist tt1;19 tt9;11\xff");
}

}  // namespace

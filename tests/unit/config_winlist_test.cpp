// The winlist table and game.winlist: the record layout, the validity scan on reading
// and the atomic write.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "config/winlist.h"
#include "unit/file_size_cap.h"
#include "unit/fixture.h"

namespace {

constexpr const char* INVALID_MESSAGE = " Invalid Winlist - Resetting to 0!\n";

WinlistEntry entry(char kind, const std::string& name, std::uint64_t score) {
  WinlistEntry row;
  row.kind = kind;
  row.set_name(name);
  row.score = score;
  row.used = 1;
  return row;
}

// A table whose rows 0..n-1 hold valid entries, highest score first.
WinlistTable valid_table(int rows) {
  WinlistTable table{};
  for (int i = 0; i < rows; ++i) {
    table[i] = entry(i % 2 == 0 ? KIND_PLAYER : KIND_TEAM, "name" + std::to_string(i),
                     static_cast<std::uint64_t>(1000 - i));
  }
  return table;
}

void expect_same_rows(const WinlistTable& actual, const WinlistTable& expected) {
  for (int i = 0; i < WINLIST_ROWS; ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(actual[i].used, expected[i].used);
    EXPECT_EQ(actual[i].score, expected[i].score);
    if (expected[i].used != 0) {
      EXPECT_EQ(actual[i].kind, expected[i].kind);
      EXPECT_EQ(actual[i].name_text(), expected[i].name_text());
    }
  }
}

TEST(WinlistImage, RecordLayout) {
  WinlistTable table{};
  table[0] = entry(KIND_TEAM, "Bob", 0x0102030405060708ull);
  table[1] = entry(KIND_PLAYER, std::string(40, 'n'), 3);  // name cut to 30
  const std::string image = winlist_image(table);
  ASSERT_EQ(image.size(), 4800u);

  std::string record0(48, '\0');
  record0[0] = 't';
  record0.replace(1, 3, "Bob");
  record0.replace(32, 8, "\x08\x07\x06\x05\x04\x03\x02\x01", 8);
  record0[40] = 1;
  EXPECT_EQ(image.substr(0, 48), record0);

  std::string record1(48, '\0');
  record1[0] = 'p';
  record1.replace(1, 30, std::string(30, 'n'));
  record1[32] = 3;
  record1[40] = 1;
  EXPECT_EQ(image.substr(48, 48), record1);
  EXPECT_EQ(image.substr(96), std::string(4800 - 96, '\0'));
}

class WinlistFileTest : public ServerStateTest {
 protected:
  static std::string image_of(const WinlistTable& table) { return winlist_image(table); }
  static bool logged_invalid() {
    return read_file("game.log").find(INVALID_MESSAGE) != std::string::npos;
  }
};

TEST_F(WinlistFileTest, ValidityScan) {
  const auto with = [](WinlistTable table, int row, auto change) {
    change(table[row]);
    return table;
  };
  const struct {
    const char* what;
    WinlistTable table;
    bool valid;
  } cases[] = {
      {"five valid rows", valid_table(5), true},
      {"full table", valid_table(100), true},
      {"kind 'x' in row 2", with(valid_table(5), 2, [](WinlistEntry& r) { r.kind = 'x'; }),
       false},
      {"score 0 in a used row", with(valid_table(5), 4, [](WinlistEntry& r) { r.score = 0; }),
       false},
      {"31-byte name", with(valid_table(5), 1, [](WinlistEntry& r) { r.name.fill('z'); }),
       false},
      {"30-character name", with(valid_table(5), 1, [](WinlistEntry& r) {
         r.set_name(std::string(30, 'z'));
       }),
       true},
      {"used byte other than 1", with(valid_table(5), 3, [](WinlistEntry& r) { r.used = 7; }),
       true},
      {"row 0 empty hides a bad row 1",
       with(with(valid_table(2), 0, [](WinlistEntry& r) { r.used = 0; }), 1,
            [](WinlistEntry& r) { r.kind = 'x'; }),
       true},
      {"bad row after the first empty one",
       with(valid_table(3), 5, [](WinlistEntry& r) {
         r.used = 1;
         r.kind = 'x';
       }),
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(winlist_valid(c.table), c.valid);
    std::filesystem::remove("game.log");
    clear_winlist();
    write_file("game.winlist", image_of(c.table));
    read_winlist();
    EXPECT_EQ(logged_invalid(), !c.valid);
    if (c.valid) {
      expect_same_rows(winlist, c.table);
    } else {
      for (const auto& row : winlist) EXPECT_EQ(row.used | row.score, 0u);
    }
  }
}

TEST_F(WinlistFileTest, ShortFileOnlyCoversItsRows) {
  winlist[10] = entry(KIND_PLAYER, "earlier", 5);
  winlist[11] = entry(KIND_PLAYER, "partial", 4);
  const WinlistTable ten = valid_table(10);
  std::string image = image_of(ten).substr(0, 480);
  write_file("game.winlist", image);
  read_winlist();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(winlist[i].name_text(), ten[i].name_text());
  EXPECT_EQ(winlist[10].name_text(), "earlier");

  // A trailing partial record leaves its row as it was.
  std::string partial = image_of(valid_table(12)).substr(0, 11 * 48 + 20);
  write_file("game.winlist", partial);
  read_winlist();
  EXPECT_EQ(winlist[10].name_text(), "name10");
  EXPECT_EQ(winlist[11].name_text(), "partial");
  EXPECT_FALSE(logged_invalid());
}

TEST_F(WinlistFileTest, BytesPastTheTableAreIgnored) {
  write_file("game.winlist", image_of(valid_table(3)) + std::string(48, 'x'));
  read_winlist();
  expect_same_rows(winlist, valid_table(3));
  EXPECT_FALSE(logged_invalid());
}

TEST_F(WinlistFileTest, MissingFileLeavesTheTable) {
  winlist[0] = entry(KIND_PLAYER, "kept", 9);
  read_winlist();
  EXPECT_EQ(winlist[0].name_text(), "kept");
  EXPECT_FALSE(file_exists("game.log"));
}

TEST_F(WinlistFileTest, WriteAndReadBack) {
  write_winlist();
  const std::string empty = read_file("game.winlist");
  ASSERT_EQ(empty.size(), 4800u);
  for (int i = 0; i < WINLIST_ROWS; ++i) EXPECT_EQ(empty[i * 48 + 40], 0);
  read_winlist();
  for (const auto& row : winlist) EXPECT_EQ(row.used, 0);
  EXPECT_FALSE(logged_invalid());

  winlist = valid_table(7);
  write_winlist();
  EXPECT_EQ(read_file("game.winlist"), image_of(valid_table(7)));
  clear_winlist();
  read_winlist();
  expect_same_rows(winlist, valid_table(7));
}

TEST_F(WinlistFileTest, ClearKeepsNamesButEmptiesRows) {
  winlist = valid_table(3);
  clear_winlist();
  EXPECT_EQ(winlist[1].name_text(), "name1");
  EXPECT_EQ(winlist[1].kind, KIND_TEAM);
  for (const auto& row : winlist) EXPECT_EQ(row.used | row.score, 0u);
}

TEST_F(WinlistFileTest, FailedWriteKeepsOldFile) {
  const std::string old_image = image_of(valid_table(2));
  write_file("game.winlist", old_image);
  winlist = valid_table(9);
  {
    FileSizeCap cap(1000);  // smaller than the 4800-byte image
    write_winlist();
  }
  EXPECT_EQ(read_file("game.winlist"), old_image);
  const auto files = std::distance(std::filesystem::directory_iterator("."),
                                   std::filesystem::directory_iterator());
  EXPECT_EQ(files, 1);  // no temporary file left behind
}

// The atomic replace needs a new file beside the old one. In a directory the server may
// not write to, an existing game.winlist that it may write is still updated, in place,
// instead of the new scores being lost. The write runs in a child without root's
// rights, since root may write anywhere.
TEST_F(WinlistFileTest, DirectoryNotWritableStillUpdatesAnExistingFile) {
  write_file("game.winlist", image_of(valid_table(2)));
  ASSERT_EQ(::chmod("game.winlist", 0666), 0);
  ASSERT_EQ(::chmod(".", 0555), 0);
  winlist = valid_table(9);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t NOBODY = 65534;
    if (::geteuid() == 0 && (::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0)) ::_exit(2);
    write_winlist();
    ::_exit(::access(".", W_OK) == 0 ? 3 : 0);  // 3: the directory was writable after all
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod(".", 0700);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(read_file("game.winlist") == image_of(valid_table(9))) << "old scores kept";
  const auto files = std::distance(std::filesystem::directory_iterator("."),
                                   std::filesystem::directory_iterator());
  EXPECT_EQ(files, 1);
}

}  // namespace

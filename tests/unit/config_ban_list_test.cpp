// game.ban: which texts ban which addresses, and reading the file afresh each time.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/ban_list.h"
#include "unit/fixture.h"

namespace {

constexpr std::uint64_t ip(unsigned a, unsigned b, unsigned c, unsigned d) {
  return (std::uint64_t{a} << 24) | (b << 16) | (c << 8) | d;
}

TEST(BanText, Matching) {
  const struct {
    const char* text;
    std::uint64_t address;
    bool banned;
  } cases[] = {
      {"192.168.1.*\n", ip(192, 168, 1, 7), true},
      {"192.168.1.*\n", ip(192, 168, 1, 200), true},
      {"192.168.1.*\n", ip(192, 168, 2, 7), false},
      {"*.*.*.*\n", ip(8, 8, 4, 4), true},
      {"10 . 0 . 0 . 1\n", ip(10, 0, 0, 1), true},
      {"10\t.0.\t0 .1\r\n", ip(10, 0, 0, 1), true},
      {"010.0.0.1\n", ip(10, 0, 0, 1), false},
      {"10.0.0.01\n", ip(10, 0, 0, 1), false},
      {"1*.0.0.1\n", ip(10, 0, 0, 1), false},
      {"**.0.0.1\n", ip(10, 0, 0, 1), false},
      {"1.2.3.4 5.6.7.8\n", ip(1, 2, 3, 4), true},
      {"1.2.3.4 5.6.7.8\n", ip(5, 6, 7, 8), true},
      {"1.2.3.4", ip(1, 2, 3, 4), true},
      {"255.255.255.255\n", ip(255, 255, 255, 255), true},
      {"0.0.0.0\n", ip(0, 0, 0, 0), true},
      {"", ip(1, 2, 3, 4), false},
      // Text that forms no entry bans nothing, and the next line is read as usual.
      {"1.2.3\n1.2.3.4\n", ip(1, 2, 3, 4), true},
      {"1.2.3\n", ip(1, 2, 3, 0), false},
      {"banned hosts:\n1.2.3.4\n", ip(1, 2, 3, 4), true},
      {"#1.2.3.4\n", ip(1, 2, 3, 4), false},
      {"# 1.2.3.4\n", ip(1, 2, 3, 4), false},
      {"old 1.2.3.4\n", ip(1, 2, 3, 4), false},
      {"12345.1.1.1\n5.6.7.8\n", ip(5, 6, 7, 8), true},
      {"1.2.3.45678\n", ip(1, 2, 3, 4), false},
      {"1.2.3.4x\n", ip(1, 2, 3, 4), false},
      {"1.2.3.4.5\n", ip(1, 2, 3, 4), false},
      {"1.2\n3.4\n", ip(1, 2, 3, 4), false},
      {"1 2 3 4\n", ip(1, 2, 3, 4), false},
      {"1.2.3.4 junk\n9.9.9.9\n", ip(9, 9, 9, 9), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ban_text_matches(c.text, c.address), c.banned)
        << '"' << c.text << "\" against " << ((c.address >> 24) & 255) << '.'
        << ((c.address >> 16) & 255) << '.' << ((c.address >> 8) & 255) << '.'
        << (c.address & 255);
  }
}

using BanListTest = ServerStateTest;

TEST_F(BanListTest, FileIsReadForEveryCheck) {
  EXPECT_FALSE(is_banned(ip(10, 0, 0, 1)));  // no game.ban: nobody is banned
  write_file("game.ban", "10.0.0.*\n");
  EXPECT_TRUE(is_banned(ip(10, 0, 0, 1)));
  write_file("game.ban", "10.0.0.2\n");
  EXPECT_FALSE(is_banned(ip(10, 0, 0, 1)));
}

}  // namespace

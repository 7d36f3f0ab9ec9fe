// The login line decoder against lines built by the inverse operation, the key
// learning and its period, malformed lines (short, odd, unreadable pairs, random
// bytes) and the login text scan that follows decoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "config/settings.h"
#include "login/login_decoder.h"
#include "login/prelogin.h"
#include "unit/channel_peers.h"
#include "unit/login_lines.h"

namespace {

std::string encode(const std::string& text, const std::string& digits, int seed = 0x4f) {
  return encode_login_line(text, digits, seed);
}

std::string hex_of(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", c);
    out += pair;
  }
  return out;
}

class DecoderTest : public ChannelPeersTest {
 protected:
  void SetUp() override {
    ChannelPeersTest::SetUp();
    server_settings.verbose = 10;
  }
  // The learning log: the type lines and the period line, in order.
  static std::vector<std::string> learning_log() {
    std::vector<std::string> out;
    bool learning = false;
    for (const std::string& line : log_lines()) {
      if (line == "LEARN\n") learning = true;
      if (learning && line != "LEARN\n") out.push_back(line);
    }
    return out;
  }
};

TEST(LoginTransform, DecodesModulo255WithTheTwoWrinkles) {
  struct Case {
    int type, prev, cur, expected;
  };
  const Case cases[] = {
      {1, 0x4f, ((0x4f + 'b') % 255) ^ (48 + 6), 'b'},  // plain step
      {10, 200, ((200 + 'z') % 255) ^ (48 + 4), 'z'},   // sum wraps past 255
      {1, 10, 10 ^ 54, 255},                            // t == prev below 64
      {1, 0, 255 ^ 54, 255},                            // t == 255 after prev 0
      {1, 100, 100 ^ 54, 0},                            // other multiples of 255
      {0, 1, 2, -1},                                    // no such type
      {11, 1, 2, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(login_transform(c.type, c.prev, c.cur), c.expected)
        << "type " << c.type << " prev " << c.prev << " cur " << c.cur;
  }
}

TEST_F(DecoderTest, LearnsKeysOfPeriodOneToFiveAndDecodesTheWholeLine) {
  struct Case {
    std::string digits;
    std::vector<std::string> types;  // positions 0..9
    int total;
  };
  const std::vector<Case> cases = {
      {"6", {"1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}, 1},
      {"70", {"8", "9", "8", "9", "8", "9", "8", "9", "8", "9"}, 2},
      {"618", {"1", "2", "3", "1", "2", "3", "1", "2", "3", "1"}, 3},
      {"2954", {"7", "5", "6", "10", "7", "5", "6", "10", "7", "5"}, 4},
      {"31415", {"4", "2", "10", "2", "6", "4", "2", "10", "2", "6"}, 5},
  };
  const std::string text = "brikkastart Alice-of-the-long-name 1.13";
  for (const Case& c : cases) {
    std::remove(LOG_FILE);
    std::string line = encode(text, c.digits);
    const std::string seed_pair = line.substr(0, 2);
    ASSERT_EQ(decode_login(line), 0) << c.digits;
    EXPECT_EQ(line, seed_pair + hex_of(text)) << c.digits;
    EXPECT_EQ(hex_to_text(line), text) << c.digits;

    std::vector<std::string> expected;
    for (const std::string& type : c.types) expected.push_back(type + "\n");
    expected.push_back("total=" + std::to_string(c.total) + "\n");
    EXPECT_EQ(learning_log(), expected) << c.digits;
  }
}

TEST_F(DecoderTest, KeyOfPeriodSevenIsTakenAsTenAndNoLongerReadsBrikkastart) {
  std::string line = encode("brikkastart Alice 1.13", "1234567");
  ASSERT_EQ(decode_login(line), 0);
  const std::string text = hex_to_text(line);
  EXPECT_EQ(text.substr(0, 10), "brikkastar");
  EXPECT_NE(text.substr(0, 11), "brikkastart");
  EXPECT_EQ(learning_log().back(), "total=10\n");
  std::string nick, version;
  EXPECT_EQ(scan_login_text(text, nick, version), 0);
}

TEST_F(DecoderTest, LowerCaseDigitsAreReadAndTheRewriteIsUpperCase) {
  const std::string text = "brikkastart bob 1.13";
  std::string line = encode(text, "618", 0xab);
  std::transform(line.begin(), line.end(), line.begin(), ::tolower);
  ASSERT_EQ(decode_login(line), 0);
  EXPECT_EQ(line, "ab" + hex_of(text));
}

TEST_F(DecoderTest, RefusedLinesStayUnchangedAndNameTheFailingPosition) {
  const std::string good = encode("brikkastart Alice 1.13", "618");
  std::string corrupt_fifth = good;
  corrupt_fifth.replace(10, 2, "00");  // pair 5 carries position 4
  struct Case {
    std::string line;
    std::string log;
  };
  const Case cases[] = {
      {"", "Unknown encryption type at pos 0.\n"},
      {good.substr(0, 21), "Unknown encryption type at pos 9.\n"},  // half of the tenth pair
      {good.substr(0, 12), "Unknown encryption type at pos 5.\n"},
      {corrupt_fifth, "Unknown encryption type at pos 4.\n"},
      {std::string(40, 'Z'), "Unknown encryption type at pos 0.\n"},
  };
  server_settings.verbose = 4;
  for (const Case& c : cases) {
    std::remove(LOG_FILE);
    std::string line = c.line;
    EXPECT_EQ(decode_login(line), -1) << c.line;
    EXPECT_EQ(line, c.line);
    EXPECT_EQ(log_lines(), std::vector<std::string>{c.log}) << c.line;
  }
}

TEST_F(DecoderTest, ShortestLineIsTheSeedAndTenPairs) {
  std::string line = encode("brikkastar", "618");
  ASSERT_EQ(line.size(), 22u);
  EXPECT_EQ(decode_login(line), 0);
  EXPECT_EQ(hex_to_text(line), "brikkastar");
}

TEST_F(DecoderTest, TrailingHalfPairIsLeftAsItIs) {
  const std::string text = "brikkastart Alice 1.13";
  std::string line = encode(text, "618") + "7";
  ASSERT_EQ(decode_login(line), 0);
  EXPECT_EQ(line.back(), '7');
  EXPECT_EQ(hex_to_text(line), text);
}

TEST_F(DecoderTest, UnreadablePairKeepsTheValueOfThePairBefore) {
  const std::string text = "brikkastart Alice 1.13";
  const std::string digits = "6";  // type 1 everywhere
  const std::string good = encode(text, digits);
  auto pair_value = [&](int index) { return std::stoi(good.substr(index * 2, 2), nullptr, 16); };

  // Pair 13 ('A' of Alice) unreadable: it stands for pair 12's encoded byte, and the
  // pair after it is decoded against that value.
  std::string line = good;
  line.replace(26, 2, "Z5");
  ASSERT_EQ(decode_login(line), 0);
  const std::string decoded = hex_to_text(line);
  const int enc12 = pair_value(12);
  EXPECT_EQ(static_cast<unsigned char>(decoded[12]), login_transform(1, enc12, enc12));
  EXPECT_EQ(static_cast<unsigned char>(decoded[13]), login_transform(1, enc12, pair_value(14)));
  EXPECT_EQ(decoded.substr(0, 12), text.substr(0, 12));
  EXPECT_EQ(decoded.substr(14), text.substr(14));

  // A pair whose second character is no digit is read as its first digit alone.
  line = good;
  line.replace(26, 2, "5Z");
  ASSERT_EQ(decode_login(line), 0);
  EXPECT_EQ(static_cast<unsigned char>(hex_to_text(line)[12]), login_transform(1, enc12, 5));

  // An unreadable seed stands for 0.
  line = encode(text, digits, 0);
  line.replace(0, 2, "zz");
  ASSERT_EQ(decode_login(line), 0);
  EXPECT_EQ(hex_to_text(line), text);
}

TEST_F(DecoderTest, RandomLinesNeverReadPastTheirEnd) {
  server_settings.verbose = 0;
  std::mt19937 random(20240611);
  const std::string alphabet = "0123456789abcdefABCDEFxZ \t-+\xff";
  for (int round = 0; round < 3000; ++round) {
    const std::size_t length = random() % 80;
    std::string line;
    // Exact-length heap copies let the sanitizer see any read past the end.
    for (std::size_t i = 0; i < length; ++i) {
      line.push_back(round % 3 == 0 ? static_cast<char>(random() % 256)
                                    : alphabet[random() % alphabet.size()]);
    }
    if (round % 5 == 0 && length > 0) {
      line = encode("brikkastart x 1.13", "618").substr(0, length);
    }
    std::string copy = line;
    copy.shrink_to_fit();
    if (decode_login(copy) == 0) {
      EXPECT_GE(copy.size(), 22u);
      (void)hex_to_text(copy);
    } else {
      EXPECT_EQ(copy, line);
    }
  }
}

TEST(LoginScan, ReadsNickAndVersionLikeTheBoundedScan) {
  struct Case {
    std::string text;
    int fields;
    std::string nick, version;
  };
  const std::string a30(30, 'A');
  const Case cases[] = {
      {"brikkastart Alice 1.13", 2, "Alice", "1.13"},
      {"brikkastart Alice 1.13 trailing words", 2, "Alice", "1.13"},
      {"brikkastart \t Alice\t 1.13\r", 2, "Alice\t", "1.13"},  // only ' ' ends the nick
      {"brikkastartAlice 1.13", 2, "Alice", "1.13"},            // blanks may be absent
      {"brikkastart Al\nice    1.13", 2, "Al\nice", "1.13"},
      {"brikkastart " + a30 + "B 1.13", 2, a30, "B"},  // the cut nick spills into the version
      {"brikkastart " + a30 + "1.13", 2, a30, "1.13"},
      {"brikkastart Alice 1.1312345678", 2, "Alice", "1.13123456"},
      {"brikkastart Alice", 1, "Alice", ""},
      {"brikkastart Alice   ", 1, "Alice", ""},
      {"brikkastart ", 0, "", ""},
      {"brikkastart", 0, "", ""},
      {"Brikkastart Alice 1.13", 0, "", ""},
      {" brikkastart Alice 1.13", 0, "", ""},
      {"brikka", 0, "", ""},
      {std::string("brikkastart Al\0ice 1.13", 23), 1, "Al", ""},
  };
  for (const Case& c : cases) {
    std::string nick, version;
    EXPECT_EQ(scan_login_text(c.text, nick, version), c.fields) << c.text;
    EXPECT_EQ(nick, c.nick) << c.text;
    EXPECT_EQ(version, c.version) << c.text;
  }
}

}  // namespace

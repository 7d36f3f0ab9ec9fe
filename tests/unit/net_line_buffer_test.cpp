// Line cutting: the same inputs whole, split and byte by byte, and the 1022/1023
// sizes at the edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/line_buffer.h"

namespace {

const std::string FF = "\xff";

// Feeds the chunks one after another and collects the lines, draining buffered lines
// before each new chunk the way the socket table does.
std::vector<std::string> cut(LineBuffer& buffer, const std::vector<std::string>& chunks) {
  std::vector<std::string> lines;
  for (const std::string& chunk : chunks) {
    while (buffer.has_line()) lines.push_back(buffer.take_buffered_line());
    if (auto line = buffer.take_chunk(chunk)) lines.push_back(*line);
  }
  while (buffer.has_line()) lines.push_back(buffer.take_buffered_line());
  return lines;
}

struct FramingCase {
  const char* name;
  std::string input;
  std::vector<std::string> lines;
  std::string remainder;
};

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, WholeInOneRead) {
  LineBuffer buffer;
  EXPECT_EQ(cut(buffer, {GetParam().input}), GetParam().lines);
  EXPECT_EQ(buffer.remainder(), GetParam().remainder);
}

const std::vector<FramingCase> FRAMING_CASES = {
        FramingCase{"ff_ends_line", "abc" + FF, {"abc"}, ""},
        FramingCase{"ff_wins_over_earlier_newline", "abc\ndef" + FF, {"abc\ndef"}, ""},
        FramingCase{"newline_before_ff_dropped", "abc\n" + FF, {"abc"}, ""},
        FramingCase{"newline_only", "playerquery\n", {"playerquery"}, ""},
        FramingCase{"carriage_return_kept", "playerquery\r\n", {"playerquery\r"}, ""},
        FramingCase{"leading_empty_line_skipped", FF + "abc" + FF, {"abc"}, ""},
        FramingCase{"empty_line_from_remainder_delivered", "abc" + FF + FF, {"abc", ""}, ""},
        FramingCase{"partial_line_buffered", "abc", {}, "abc"},
        FramingCase{"two_lines", "a" + FF + "b" + FF, {"a", "b"}, ""}};

INSTANTIATE_TEST_SUITE_P(Table, Framing, ::testing::ValuesIn(FRAMING_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FramingByteByByte, GivesTheSameNonEmptyLines) {
  for (const FramingCase& c : FRAMING_CASES) {
    // Fed byte by byte, a newline ends a line before a later 0xFF can be seen, so
    // inputs with that race are left out; every empty line then arrives fresh and is
    // skipped.
    const auto ff = c.input.find('\xff');
    const auto nl = c.input.find('\n');
    if (nl != std::string::npos && ff != std::string::npos && nl < ff) continue;
    SCOPED_TRACE(c.name);
    std::vector<std::string> chunks;
    for (char byte : c.input) chunks.emplace_back(1, byte);
    std::vector<std::string> expected;
    for (const std::string& line : c.lines) {
      if (!line.empty()) expected.push_back(line);
    }
    LineBuffer buffer;
    EXPECT_EQ(cut(buffer, chunks), expected);
  }
}

TEST(LineBufferSizes, LongTextWithoutTerminator) {
  struct Case {
    std::size_t size;
    std::size_t delivered;  // 0: nothing delivered
  };
  for (const Case& c : {Case{1023, 1023}, Case{1022, 1022}, Case{1021, 0}}) {
    LineBuffer buffer;
    auto line = buffer.take_chunk(std::string(c.size, 'x'));
    if (c.delivered == 0) {
      EXPECT_FALSE(line) << c.size;
      EXPECT_EQ(buffer.remainder().size(), c.size);
    } else {
      ASSERT_TRUE(line) << c.size;
      EXPECT_EQ(line->size(), c.delivered);
      EXPECT_TRUE(buffer.remainder().empty());
    }
  }
}

TEST(LineBufferSizes, RemainderPlusFullChunkDeliversFirst1022) {
  LineBuffer buffer;
  EXPECT_FALSE(buffer.take_chunk(std::string(500, 'a')));
  auto line = buffer.take_chunk(std::string(1023, 'b'));
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, std::string(500, 'a') + std::string(522, 'b'));
  EXPECT_EQ(buffer.remainder(), std::string(501, 'b'));
}

TEST(LineBufferSizes, BufferedLineLongerThan1022IsCut) {
  LineBuffer buffer;
  EXPECT_FALSE(buffer.take_chunk(std::string(1000, 'a')));
  // The join is cut at 1022; the rest, with its terminator, waits in the remainder.
  auto first = buffer.take_chunk(std::string(500, 'b') + FF + "next" + FF);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size(), 1022u);
  ASSERT_TRUE(buffer.has_line());
  EXPECT_EQ(buffer.take_buffered_line(), std::string(478, 'b'));
  EXPECT_EQ(buffer.take_buffered_line(), "next");
}

TEST(LineBufferSizes, NulEndsTheChunk) {
  LineBuffer buffer;
  auto line = buffer.take_chunk(std::string("ab\0cd", 5) + FF);
  EXPECT_FALSE(line);
  EXPECT_EQ(buffer.remainder(), "ab");
}

}  // namespace

// The shared settings-file grammar over plain text: what each kind of line turns into.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/conf_lines.h"

namespace {

// A compact picture of a parsed line: "[name]" for headers, "key|value" otherwise.
std::vector<std::string> shapes(const std::string& text, ConfGrammar grammar = {}) {
  std::vector<std::string> out;
  for (const ConfLine& line : parse_conf_text(text, grammar)) {
    out.push_back(line.is_section ? "[" + line.name + "]" : line.key + "|" + line.value);
  }
  return out;
}

using Shapes = std::vector<std::string>;

TEST(ConfLines, LineGrammar) {
  const struct {
    const char* what;
    std::string text;
    Shapes expected;
  } cases[] = {
      {"plain key line", "verbose=3\n", {"verbose|3"}},
      {"white space around '='", "  verbose \t=  3\n", {"verbose|3"}},
      {"blank lines and leading white space", "\n\n \t \n\t key=v\n", {"key|v"}},
      {"comment removed, then trailing spaces", "key = a b   # note\n", {"key|a b"}},
      {"comment-only lines vanish", "# all comment\n   #indented\n", {}},
      {"trailing tab and CR stay", "a=x\t\nb=y\r\n", {"a|x\t", "b|y\r"}},
      {"no '=' gives an empty value", "starting_level\n", {"starting_level|"}},
      {"word after key without '='", "foo bar\n", {"foo|"}},
      {"leading '=' gives an empty key", "=5\n", {"|5"}},
      {"value keeps '=' and inner spaces", "a=b=c  d\n", {"a|b=c  d"}},
      {"tab belongs to the key", "a\tb=1\n", {"a\tb|1"}},
      {"last line without newline", "a=1", {"a|1"}},
      {"section header", "[Lobby]\nx=1\n", {"[Lobby]", "x|1"}},
      {"name ends at first ']'", "[a]b]\n", {"[a]"}},
      {"spaces after header are trimmed", "[a]   \n", {"[a]"}},
      {"CR after ']' is no header", "[A]\r\n", {"[A]\r|"}},
      {"no closing bracket", "[A\n", {"[A|"}},
      {"empty header dropped", "[]\nx=1\n", {"x|1"}},
      {"NUL ends the line's content", std::string("a=1\0zz\nb=2\n", 11), {"a|1", "b|2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(shapes(c.text), c.expected) << c.what;
}

TEST(ConfLines, TextKeptForMessagesIsTheCleanedLine) {
  const auto lines = parse_conf_text("  foo bar   # why\n", {});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "foo bar");
}

TEST(ConfLines, LimitsOnKeysValuesNamesAndLines) {
  const std::string k81(81, 'k');
  const std::string v90(90, 'v');
  // A key run longer than 80 characters keeps 80, and what follows is no '='.
  EXPECT_EQ(shapes(k81 + "=1\n"), Shapes{std::string(80, 'k') + "|"});
  EXPECT_EQ(shapes("a=" + v90 + "\n"), Shapes{"a|" + std::string(80, 'v')});
  EXPECT_EQ(shapes("[" + std::string(70, 'n') + "]\n"), Shapes{"[" + std::string(60, 'n') + "]"});

  // 512 characters form one line; the rest is read as the next one, its leading
  // white space skipped like any line's.
  const std::string first = "a=" + std::string(510, 'x');
  EXPECT_EQ(shapes(first + "b=2\n"), (Shapes{"a|" + std::string(80, 'x'), "b|2"}));
  EXPECT_EQ(shapes(first + "   b=2\n"), (Shapes{"a|" + std::string(80, 'x'), "b|2"}));
  EXPECT_EQ(shapes(first + "\nb=2\n"), (Shapes{"a|" + std::string(80, 'x'), "b|2"}));
}

TEST(ConfLines, SecureGrammarHasNoSectionsAndValuesEndAtWhiteSpace) {
  const ConfGrammar secure{.sections = false, .value_ends_at_space = true};
  EXPECT_EQ(shapes("[x]\n", secure), Shapes{"[x]|"});
  EXPECT_EQ(shapes("op_password = pass word\n", secure), Shapes{"op_password|pass"});
  EXPECT_EQ(shapes("op_password=pw\tx\n", secure), Shapes{"op_password|pw"});
  EXPECT_EQ(shapes("op_password=\n", secure), Shapes{"op_password|"});
}

TEST(ConfLines, Numbers) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"42", 42},          {"  -7", -7},        {"+3", 3},         {"12abc", 12},
      {"abc", 0},          {"", 0},             {"- 3", 0},        {"007", 7},
      {"2147483647", 2147483647}, {"99999999999", 2147483647},
      {"-2147483648", -2147483647 - 1}, {"-99999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(conf_number(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace

// End-to-end tests of query-client: the built program runs with a scripted standard
// input against a fake query server on 127.0.0.1:31456, and every test checks the exact
// bytes of the requests, of standard output and standard error, and the exit status.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "client_process.h"
#include "fake_query_server.h"

namespace query_test {
namespace {

const std::string PASSWORD = "sesame";
const std::string RULE(72, '-');
const std::string RULE_LINE = RULE + "\n";
const std::string PROMPT =
    "Type \"remove playernumber\" to remove player.\n"
    "Type \"quit\" to quit or enter to query\n";
const std::string NO_RESULT = "No result from server (could be wrong password)\n";
const std::string NOT_LISTENING = "Error: Server is shutted down.\n";

std::string query_request(const std::string& password = PASSWORD) {
  return "securequery " + password + "\xff";
}

std::string removal_request(int player, const std::string& password = PASSWORD) {
  return "killplayer " + password + " " + std::to_string(player) + "\xff";
}

// What one answered request prints, the prompt after it included.
std::string answered(const std::string& answer_as_printed) {
  return RULE_LINE + answer_as_printed + RULE_LINE + " \n" + PROMPT;
}

std::string repeated(const std::string& text, std::size_t times) {
  std::string all;
  for (std::size_t i = 0; i < times; ++i) {
    all += text;
  }
  return all;
}

struct Session {
  ClientResult client;
  std::vector<std::string> requests;
};

Session run_session(const std::string& input, std::vector<ScriptedAnswer> answers = {},
                    const std::vector<std::string>& args = {"127.0.0.1", PASSWORD}) {
  FakeQueryServer server(std::move(answers));
  ClientResult client = run_client(args, input);
  return {client, server.stop()};
}

// ---------------------------------------------------------------------------------
// The command line is checked before any connection.

TEST(QueryClientCommandLine, WrongArgumentCountPrintsUsageAndFails) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {"127.0.0.1"}, {"127.0.0.1", PASSWORD, "extra"}};
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::Message() << args.size() << " argument(s)");
    const Session session = run_session("\n", {}, args);
    EXPECT_FALSE(session.client.timed_out);
    EXPECT_EQ(session.client.status, 2);
    EXPECT_EQ(session.client.err,
              std::string("Usage: ") + QUERY_CLIENT_PATH + " server_ip server_password\n");
    EXPECT_EQ(session.client.out, "");
    EXPECT_TRUE(session.requests.empty());
  }
}

TEST(QueryClientCommandLine, LongestPasswordFitsBothRequestsWithin511Bytes) {
  // "killplayer " + password + " 6" + 0xFF takes exactly 511 bytes.
  const std::string longest(497, 'p');
  const Session session = run_session("remove 6\n", {}, {"127.0.0.1", longest});
  EXPECT_EQ(session.client.status, 0);
  EXPECT_EQ(session.client.err, "");
  ASSERT_EQ(session.requests.size(), 2u);
  EXPECT_EQ(session.requests[0], query_request(longest));
  EXPECT_EQ(session.requests[1], removal_request(6, longest));
  EXPECT_EQ(session.requests[1].size(), 511u);
}

TEST(QueryClientCommandLine, TooLongPasswordIsRefusedBeforeAnyConnection) {
  const std::string too_long(498, 'p');
  const Session session = run_session("\n", {}, {"127.0.0.1", too_long});
  EXPECT_EQ(session.client.status, 2);
  EXPECT_EQ(session.client.err, "Error: Password too long!\n");
  EXPECT_EQ(session.client.out, "");
  EXPECT_TRUE(session.requests.empty());
}

// ---------------------------------------------------------------------------------
// Requests: each command sends exactly one, on a connection of its own.

TEST(QueryClientRequests, OperatorCommandsChooseTheNextRequest) {
  struct Case {
    std::string line;
    std::optional<int> removes;  // nullopt: a plain query
  };
  const std::vector<Case> cases = {
      {"\n", std::nullopt},
      {"remove 3\n", 3},
      {"\n", std::nullopt},  // a removal is sent once only
      {"REMOVE 6\n", 6},
      {"ReMoVe 1\n", 1},
      {"remove 7\n", std::nullopt},
      {"remove 0\n", std::nullopt},
      {"remove -2\n", std::nullopt},
      {"remove3\n", std::nullopt},  // 8 characters with its newline
      {"remove\n", std::nullopt},
      {"remove  5\n", 5},    // blanks before the number are skipped
      {"remove\t+2\n", 2},   // the number starts at the eighth character
      {"removes 4\n", 4},
      {"remove 4x\n", 4},
      {"remove 99999999999999999999\n", std::nullopt},
      {"remove 18446744073709551618\n", std::nullopt},  // wraps to 2 if read carelessly
      {" remove 2\n", std::nullopt},
      {"hello\n", std::nullopt},
  };
  std::string input;
  for (const Case& c : cases) {
    input += c.line;
  }
  const Session session = run_session(input);

  EXPECT_EQ(session.client.status, 0);
  ASSERT_EQ(session.requests.size(), cases.size() + 1);
  EXPECT_EQ(session.requests[0], query_request());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("after the line \"" + cases[i].line + "\"");
    EXPECT_EQ(session.requests[i + 1],
              cases[i].removes ? removal_request(*cases[i].removes) : query_request());
  }
  EXPECT_EQ(session.client.out, repeated(answered("ok\n"), cases.size() + 1));
}

TEST(QueryClientRequests, LongLinesAreTakenIn510BytePieces) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::optional<int>> then;  // requests after the first; nullopt: a query
    int status;
  };
  const std::vector<Case> cases = {
      {"509 characters and newline", std::string(509, 'x') + "\n", {std::nullopt}, 0},
      {"510 characters and newline", std::string(510, 'x') + "\n",
       {std::nullopt, std::nullopt}, 0},
      {"second piece is a command", std::string(510, 'x') + "remove 3\n", {std::nullopt, 3}, 0},
      {"removal in a first piece without newline", "remove 2" + std::string(502, ' ') + "\n",
       {2, std::nullopt}, 0},
      {"removal of 8 characters at end of input", "remove 2", {std::nullopt}, 0},
      {"quit with a long tail", "quit" + std::string(600, 'x') + "\n", {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Session session = run_session(c.input);
    EXPECT_EQ(session.client.status, c.status);
    ASSERT_EQ(session.requests.size(), c.then.size() + 1);
    for (std::size_t i = 0; i < c.then.size(); ++i) {
      EXPECT_EQ(session.requests[i + 1], c.then[i] ? removal_request(*c.then[i]) : query_request());
    }
  }
}

TEST(QueryClientRequests, HostNamesAreResolved) {
  const Session session = run_session("", {}, {"localhost", PASSWORD});
  EXPECT_EQ(session.client.status, 0);
  ASSERT_EQ(session.requests.size(), 1u);
  EXPECT_EQ(session.requests[0], query_request());
  EXPECT_EQ(session.client.out, answered("ok\n"));
}

// ---------------------------------------------------------------------------------
// Answers are printed between rules, unchanged.

TEST(QueryClientAnswers, AnswerIsPrintedBetweenRules) {
  struct Case {
    const char* name;
    std::string answer;
  };
  const std::vector<Case> cases = {
      {"two lines", "alpha\nbeta\n"},
      {"last line without newline", "alpha\nbeta"},
      {"a 2000-byte line", std::string(2000, 'x') + "\n"},
      {"a line of exactly 1535 bytes and newline", std::string(1535, 'y') + "\n"},
      {"NUL and 0xFF bytes", std::string("a\0b\xff" "c\n", 6)},
      {"the mark without its newline", "error"},
      {"the mark then a partial line", "error\nx"},
      {"the mark not last", "error\nlast\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Session session = run_session("", {{c.answer, false, ""}});
    EXPECT_EQ(session.client.status, 0);
    EXPECT_EQ(session.client.out, answered(c.answer));
    EXPECT_EQ(session.client.err, "");
  }
}

TEST(QueryClientAnswers, NoResultEndsTheProgram) {
  struct Case {
    const char* name;
    std::string answer;
  };
  const std::vector<Case> cases = {
      {"closed without a byte", ""},
      {"only the mark", "error\n"},
      {"the mark as last line", "players: 2\nerror\n"},
      {"the mark after a full buffer", std::string(1535, 'z') + "error\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The command waiting on standard input is never read: there is no second request.
    const Session session = run_session("remove 3\n", {{c.answer, false, ""}});
    EXPECT_EQ(session.client.status, 0);
    EXPECT_EQ(session.client.out, RULE_LINE + c.answer + NO_RESULT);
    EXPECT_EQ(session.requests.size(), 1u);
  }
}

TEST(QueryClientAnswers, PiecesArePrintedAsSoonAsTheyAreComplete) {
  struct Case {
    const char* name;
    std::string first;    // sent, then the server waits
    std::string visible;  // what the operator must already see meanwhile
    std::string rest;
  };
  const std::vector<Case> cases = {
      {"a line at its newline", "alpha\nbe", RULE_LINE + "alpha\n", "ta\n"},
      {"1535 bytes of a longer line", std::string(1600, 'x'), RULE_LINE + std::string(1535, 'x'),
       std::string(400, 'x') + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeQueryServer server({{c.first, true, c.rest}});
    ClientProcess client({"127.0.0.1", PASSWORD}, "");
    const std::string seen = client.read_output(c.visible.size(), Millis(5000), Millis(100));
    server.release();
    EXPECT_EQ(seen, c.visible);
    const ClientResult result = client.finish();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, answered(c.first + c.rest));
  }
}

// ---------------------------------------------------------------------------------
// Requests that get no connection print their error and prompt again.

TEST(QueryClientFailures, NoServerListening) {
  const ClientResult client = run_client({"127.0.0.1", PASSWORD}, "\nremove 3\n");
  EXPECT_EQ(client.status, 0);
  EXPECT_EQ(client.out, repeated(NOT_LISTENING + PROMPT, 3));
}

TEST(QueryClientFailures, UnresolvableHostName) {
  const ClientResult client = run_client({"no-such-host.invalid", PASSWORD}, "\n");
  EXPECT_EQ(client.status, 0);
  EXPECT_EQ(client.out, repeated("Error: Invalid hostname!\n" + PROMPT, 2));
}

// ---------------------------------------------------------------------------------
// Exit statuses.

TEST(QueryClientExit, QuitAndEndOfInput) {
  struct Case {
    std::string input;
    int status;
    std::size_t requests;
  };
  const std::vector<Case> cases = {
      {"quit\n", 1, 1},     {"Quit\n", 1, 1},     {"QUIT\n", 1, 1},
      {"quitting\n", 1, 1}, {"quit", 1, 1},       {"\nquit\n", 1, 2},
      {"", 0, 1},           {"\n", 0, 2},         {" quit\n", 0, 2},
      {"qui\n", 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("input \"" + c.input + "\"");
    const Session session = run_session(c.input);
    EXPECT_FALSE(session.client.timed_out);
    EXPECT_EQ(session.client.status, c.status);
    EXPECT_EQ(session.requests.size(), c.requests);
    EXPECT_EQ(session.client.out, repeated(answered("ok\n"), c.requests));
  }
}

}  // namespace
}  // namespace query_test

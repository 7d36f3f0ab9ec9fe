// The partyline commands seen from real clients: /help, /list and /who lines, /join
// during running games, /kick, /move, /op against game.secure, /set reaching the next
// game start, /winlist and /clear against game.winlist, /save and /reset on game.conf.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "support/server_harness.h"

using namespace e2e;

namespace {

using Messages = std::vector<std::string>;

const std::string FIELD_CLEAR(264, '0');

class CommandsE2E : public ::testing::Test {
 protected:
  // Files in place before the start; the server is started by the test.
  void start() { ASSERT_NO_FATAL_FAILURE(server_.start_ok()); }

  TestClient& joined(const std::string& nick, const std::string& team = "") {
    clients_.emplace_back();
    TestClient& client = clients_.back();
    EXPECT_TRUE(client.connect());
    numbers_.push_back(client.join(nick, team));
    EXPECT_NE(numbers_.back(), 0) << nick;
    for (TestClient& other : clients_) other.drain(50ms);
    return client;
  }
  // A partyline line from `client` with its current number.
  void say(TestClient& client, int number, const std::string& text) {
    client.send("pline " + std::to_string(number) + " " + text);
  }
  // Sends a command and returns everything the sender receives for it.
  Messages command(TestClient& client, int number, const std::string& text) {
    say(client, number, text);
    return client.drain();
  }
  void drain_all() {
    for (TestClient& client : clients_) client.drain(50ms);
  }
  void authenticate(TestClient& client, int number) {
    server_.write_file("game.secure", "op_password=secret\n");
    ASSERT_EQ(command(client, number, "/op secret"),
              Messages{"pline 0 \x0cYour security level is now: \x14" "AUTHENTICATED OP"});
  }

  ServerProcess server_;
  std::deque<TestClient> clients_;
  std::vector<int> numbers_;
};

std::string winlist_record(char kind, const std::string& name, std::uint64_t score) {
  std::string record(48, '\0');
  record[0] = kind;
  record.replace(1, name.size(), name);
  for (int i = 0; i < 8; ++i) record[32 + i] = static_cast<char>((score >> (8 * i)) & 0xff);
  record[40] = 1;
  return record;
}

std::string winlist_file(const std::vector<std::string>& records) {
  std::string file;
  for (const std::string& record : records) file += record;
  file.resize(4800, '\0');
  return file;
}

TEST_F(CommandsE2E, HelpFollowsTheConfiguredLevels) {
  server_.write_file("game.conf", "command_who=0\ncommand_kick=3\ncommand_set=1\n");
  start();
  TestClient& alice = joined("Alice");
  const Messages help = command(alice, 1, "/help");
  ASSERT_EQ(help.size(), 31u);  // the header and 15 commands, /who left out
  EXPECT_EQ(help[0],
            "pline 0 V1.13.16 - Built in server commands \x17(*) \x04requires 'op', \x14(!) "
            "\x04requires '/op'");
  EXPECT_EQ(help[5], "pline 0   \x14/kick \x05<playernumber(s)>");
  EXPECT_EQ(help[6], "pline 0       \x14(!) \x04Kicks player(s) from the server");
  EXPECT_EQ(help[25], "pline 0   \x14/set");
  EXPECT_EQ(help[26], "pline 0            \x04Set Channel Config. Type \x05/set \x14HELP");
  EXPECT_EQ(help[29], "pline 0   \x14/winlist \x05[n]");
  EXPECT_EQ(command(alice, 1, "/who"), Messages{"pline 0 \x14" "Invalid /COMMAND!"});
}

TEST_F(CommandsE2E, HelpWithTheDefaultLevels) {
  start();
  TestClient& alice = joined("Alice");
  const Messages help = command(alice, 1, "/HELP");
  ASSERT_EQ(help.size(), 33u);
  EXPECT_EQ(help[1], "pline 0   \x14/clear");
  EXPECT_EQ(help[2], "pline 0       \x14(!) \x04" "Clears the winlist");
  EXPECT_EQ(help[3], "pline 0   \x14/join \x05<#channel|channel number>");
  EXPECT_EQ(help[4], "pline 0            \x04Joins or creates a virtual lineblox channel");
  EXPECT_EQ(help[9], "pline 0   \x14/me \x05<action>");
  EXPECT_EQ(help[10], "pline 0            Performs an action");
  EXPECT_EQ(help[12], "pline 0       \x17(*) \x04Moves a player to a new playernumber");
  EXPECT_EQ(help[16], "pline 0            Gain AUTHENTICATED OP status");
  EXPECT_EQ(help[26], "pline 0            \x04Set Channel Config. Type \x05/set \x14HELP");
  EXPECT_EQ(help[32], "pline 0            \x04" "Displays the top n players");
}

TEST_F(CommandsE2E, ListAndWhoWithAndWithoutAnAuthenticatedOp) {
  server_.write_file("game.conf", "maxchannels=3\n");
  start();
  TestClient& alice = joined("Alice", "red");
  TestClient& bob = joined("Bob");
  EXPECT_EQ(command(bob, 2, "/join #second").front(),
            "pline 0 \x0c" "Created new Channel - \x05#second\x04");
  drain_all();
  EXPECT_EQ(command(alice, 1, "/list"),
            (Messages{
                "pline 0 \x11Lineblox Channel Lister - (Type \x14/join \x05#channelname\x11)",
                "pline 0 \x11(\x14" "1\x11) \x05#lineblox\t\x11[\x17OPEN\x05-1/6\x11]"
                "                  (50)   \x04",
                "pline 0 \x11(\x05" "2\x11) \x05#second\t\x11[\x17OPEN\x05-1/6\x11]"
                "                  (50)   \x04",
            }));
  const Messages rows{
      "pline 0 \x11(\x14" "1\x11) \x14" "Alice          \t\x17red              \t\x05#lineblox",
      "pline 0 \x11(\x06" "2\x11) \x06" "Bob            \t\x17                 \t\x05#second",
  };
  Messages expected{"pline 0 \x11Nickname\tTeam            \tChannel"};
  expected.insert(expected.end(), rows.begin(), rows.end());
  EXPECT_EQ(command(alice, 1, "/who"), expected);

  authenticate(alice, 1);
  expected = {"pline 0 \x11Nickname\tTeam            \tChannel\tIP"};
  for (const std::string& row : rows) expected.push_back(row + "\tlocalhost");
  EXPECT_EQ(command(alice, 1, "/who"), expected);
}

TEST_F(CommandsE2E, JoinDuringRunningGamesSeenFromAllSides) {
  server_.write_file("game.conf", "maxchannels=3\n");
  start();
  TestClient& alice = joined("Alice");
  TestClient& bob = joined("Bob");
  TestClient& carol = joined("Carol");
  TestClient& dave = joined("Dave");
  command(carol, 3, "/join #arena");  // Carol becomes 1 there, Dave 2
  command(dave, 4, "/j #arena");
  drain_all();
  carol.send("startgame 1 1");
  alice.send("startgame 1 1");
  drain_all();

  say(bob, 2, "/join #Arena");
  EXPECT_EQ(bob.drain(), (Messages{"pline 0 \x0cJoined existing Channel - \x05#arena\x04",
                                   "endgame", "playerleave 2", "playerleave 1",
                                   "playerjoin 2 Dave", "team 2 ", "playerjoin 1 Carol",
                                   "team 1 ", "playernum 3", "f 2 " + FIELD_CLEAR,
                                   "f 1 " + FIELD_CLEAR, "ingame"}));
  EXPECT_EQ(alice.drain(), (Messages{"pline 0 \x06" "Bob\x04 \x06has joined channel #arena",
                                     "playerleave 2", "endgame"}));
  const Messages arrival{"playerjoin 3 Bob", "team 3 ",
                         "pline 0 \x0c" "Bob\x04 \x0chas joined channel #arena"};
  EXPECT_EQ(carol.drain(), arrival);
  EXPECT_EQ(dave.drain(), arrival);
  EXPECT_TRUE(server_.wait_for_log(" #arena-Bob joined channel\n"));

  // Bob watches the running game as a player who has lost: it goes on without him.
  dave.send("playerlost 2");
  EXPECT_EQ(bob.read_until("playerwon 1"), Messages{"endgame"});
}

TEST_F(CommandsE2E, KickListsAndSelfKick) {
  start();
  TestClient& alice = joined("Alice");
  TestClient& bob = joined("Bob");
  TestClient& carol = joined("Carol");
  EXPECT_EQ(command(alice, 1, "/kick 23"),
            (Messages{"kick 2", "playerleave 2", "kick 3", "playerleave 3"}));
  EXPECT_TRUE(bob.wait_closed());
  EXPECT_TRUE(carol.wait_closed());
  EXPECT_TRUE(server_.wait_for_log(" #lineblox-Alice: Kicked Bob from server\n"));

  TestClient& dave = joined("Dave");  // number 2, freed by Bob
  say(alice, 1, "/kick 12");
  EXPECT_TRUE(alice.wait_closed());
  EXPECT_EQ(dave.drain(), (Messages{"kick 1", "playerleave 1"}));
  // Dave is the chanop now and may kick.
  EXPECT_EQ(command(dave, 2, "/kick 9"), Messages{});
  EXPECT_EQ(command(dave, 2, "/move 2 1"), (Messages{"playernum 1", "playerleave 2"}));
}

TEST_F(CommandsE2E, MoveSwapAndTheRunningGame) {
  start();
  TestClient& alice = joined("Alice");
  TestClient& bob = joined("Bob");
  TestClient& carol = joined("Carol");
  EXPECT_EQ(command(bob, 2, "/move 1 2"),
            Messages{"pline 0 \x14You do NOT have access to that command!"});

  say(alice, 1, "/move 3 5");
  EXPECT_EQ(carol.drain(), (Messages{"playernum 5", "playerleave 3"}));
  EXPECT_EQ(alice.drain(), (Messages{"playerjoin 5 Carol", "playerleave 3"}));
  EXPECT_EQ(bob.drain(), (Messages{"playerjoin 5 Carol", "playerleave 3"}));

  say(alice, 1, "/move 1 2");
  EXPECT_EQ(alice.drain(), (Messages{"playernum 2", "playerjoin 1 Bob"}));
  EXPECT_EQ(bob.drain(), (Messages{"playernum 1", "playerjoin 2 Alice"}));
  EXPECT_EQ(carol.drain(), (Messages{"playerjoin 2 Alice", "playerjoin 1 Bob"}));
  EXPECT_TRUE(server_.wait_for_log(" #lineblox-Alice swaps player Alice(1) with Bob(2)\n"));

  bob.send("startgame 1 1");  // Bob holds 1 now and is the chanop
  drain_all();
  const Messages unavailable{
      "pline 0 \x14" "Command unavailable while a game is in progress. Stop it first."};
  EXPECT_EQ(command(bob, 1, "/move 1 3"), unavailable);
  EXPECT_EQ(command(alice, 2, "/move 1 3"), unavailable);
}

TEST_F(CommandsE2E, OpReadsGameSecureAtEveryAttempt) {
  start();
  ASSERT_TRUE(server_.file_exists("game.secure"));  // the template, no password
  TestClient& alice = joined("Alice");
  TestClient& bob = joined("Bob");
  const Messages refused{"pline 0 Invalid Password! (Attempt logged)"};
  EXPECT_EQ(command(bob, 2, "/op bkej1chbv"), refused);
  EXPECT_TRUE(server_.wait_for_log(" #lineblox-Bob Failed attempt to gain OP status\n"));

  server_.write_file("game.secure", "op_password=secret\n");
  EXPECT_EQ(command(bob, 2, "/op secret "), refused);
  EXPECT_EQ(command(bob, 2, "/op secret"),
            Messages{"pline 0 \x0cYour security level is now: \x14" "AUTHENTICATED OP"});
  EXPECT_EQ(command(bob, 2, "/clear"), Messages{"winlist"});  // level 3 now

  server_.write_file("game.secure", "op_password=changed\n");
  drain_all();
  EXPECT_EQ(command(alice, 1, "/op secret"), refused);
  std::remove(server_.path("game.secure").c_str());
  EXPECT_EQ(command(alice, 1, "/op changed"), refused);
  EXPECT_NE(server_.read_file("game.secure").find("#op_password=bkej1chbv\n"), std::string::npos);
}

TEST_F(CommandsE2E, SetChangesReachTheNextGameStart) {
  start();
  TestClient& alice = joined("Alice");
  const std::string updated = "pline 0 \x11Settings Updated!";
  EXPECT_EQ(command(alice, 1, "/set BLOCK 10 10 10 10 10 10 40"), Messages{updated});
  EXPECT_EQ(command(alice, 1, "/set rules 5 3 1 1 1 12 0 1"), Messages{updated});
  EXPECT_EQ(command(alice, 1, "/set SPECIAL 1 1 1 1 1 1 1 1 1"),
            Messages{"pline 0 \x11" "All Parameters must add up to 100%"});
  alice.send("startgame 1 1");
  const std::string blocks = std::string(10, '3') + std::string(10, '5') + std::string(10, '2') +
                             std::string(10, '4') + std::string(10, '6') + std::string(10, '7') +
                             std::string(40, '1');
  const std::string specials = std::string(32, '1') + std::string(18, '2') + "3" +
                               std::string(11, '4') + "555" + std::string(14, '6') + "7" +
                               std::string(6, '8') + std::string(14, '9');
  EXPECT_EQ(alice.read_message(), "newgame 0 5 3 1 1 1 12 " + blocks + " " + specials + " 1 0");
}

TEST_F(CommandsE2E, WinlistLinesAndClear) {
  server_.write_file("game.winlist",
                     winlist_file({winlist_record('p', "Alice", 1234), winlist_record('t', "red", 6),
                                   winlist_record('t', "Red", 3), winlist_record('p', "alice", 3)}));
  start();
  TestClient& alice = joined("Alice", "red");
  EXPECT_EQ(command(alice, 1, "/winlist"),
            (Messages{"pline 0 \x05Top 10 Winlist", "pline 0 \x14" "1. 1234 - Player Alice",
                      "pline 0 \x14" "2.    6 - Team red", "pline 0 \x04" "3.    3 - Team Red",
                      "pline 0 \x04" "4.    3 - Player alice"}));
  EXPECT_EQ(command(alice, 1, "/winlist 1"),
            (Messages{"pline 0 \x05Top 1 Winlist", "pline 0 \x14" "1. 1234 - Player Alice"}));
  for (const std::string text : {"/winlist 0", "/winlist 101", "/winlist abc", "/winlist "}) {
    EXPECT_EQ(command(alice, 1, text), Messages{}) << text;
  }

  TestClient& bob = joined("Bob");
  EXPECT_EQ(command(alice, 1, "/clear"),
            Messages{"pline 0 \x14You do NOT have access to that command!"});
  authenticate(alice, 1);
  EXPECT_EQ(command(alice, 1, "/clear"), Messages{"winlist"});
  EXPECT_EQ(bob.drain(), Messages{"winlist"});
  const std::string file = server_.read_file("game.winlist");
  ASSERT_EQ(file.size(), 4800u);
  for (std::size_t row = 0; row < 100; ++row) EXPECT_EQ(file[row * 48 + 40], 0) << row;
  EXPECT_EQ(command(alice, 1, "/winlist"), Messages{"pline 0 \x05Top 10 Winlist"});
}

TEST_F(CommandsE2E, SaveThenResetKeepsSettingsAndPersistentChannels) {
  start();
  const std::string first_start = server_.read_file("game.conf");
  ASSERT_FALSE(first_start.empty());
  TestClient& alice = joined("Alice");
  authenticate(alice, 1);

  const Messages saved{"pline 0 \x11Game configuration and Persistant Channel info saved"};
  const Messages loaded{"pline 0 \x11Game configuration and Persistant Channel info loaded"};
  EXPECT_EQ(command(alice, 1, "/save"), saved);
  EXPECT_EQ(server_.read_file("game.conf"), first_start);

  // A persistent channel with its own settings is saved as a section and read back
  // into the same channel.
  EXPECT_EQ(command(alice, 1, "/persistant 1").size(), 1u);
  say(alice, 1, "/topic Fun");
  say(alice, 1, "/priority 7");
  say(alice, 1, "/set BLOCK 10 10 10 10 10 10 40");
  say(alice, 1, "/set MISC 0 1 1");
  alice.drain();
  const Messages list_before = command(alice, 1, "/list");
  const Messages block_before = command(alice, 1, "/set BLOCK");
  EXPECT_EQ(command(alice, 1, "/save"), saved);
  const std::string with_section = server_.read_file("game.conf");
  EXPECT_NE(with_section.find("[lineblox]\nmaxplayers=6\ntopic=Fun\npriority=7\nblock_leftl=10\n"),
            std::string::npos);
  EXPECT_NE(with_section.find("special_blockbomb=14\nstripcolour=0\n\n# End of File\n"),
            std::string::npos);

  EXPECT_EQ(command(alice, 1, "/reset"), loaded);
  EXPECT_EQ(command(alice, 1, "/list"), list_before);
  EXPECT_EQ(command(alice, 1, "/set BLOCK"), block_before);
  EXPECT_EQ(command(alice, 1, "/save"), saved);
  EXPECT_EQ(server_.read_file("game.conf"), with_section);
}

TEST_F(CommandsE2E, SaveAndResetReportFilesTheyCannotUse) {
  start();
  TestClient& alice = joined("Alice");
  authenticate(alice, 1);
  std::remove(server_.path("game.conf").c_str());
  EXPECT_EQ(command(alice, 1, "/reset"), Messages{"pline 0 \x11No game configuration found!"});
  ASSERT_EQ(::mkdir(server_.path("game.conf").c_str(), 0755), 0);
  EXPECT_EQ(command(alice, 1, "/save"),
            Messages{"pline 0 \x11Game configuration could NOT be saved!"});
  EXPECT_TRUE(server_.wait_for_log(" Game configuration could NOT be saved!\n"));
}

TEST_F(CommandsE2E, OversizedAndMalformedArgumentsAreAnsweredNotFatal) {
  server_.write_file("game.conf", "maxchannels=2\n");
  start();
  TestClient& alice = joined("Alice");
  const std::string big(590, '9');
  for (const std::string& text :
       std::vector<std::string>{"/kick " + big, "/msg " + big + " x", "/move " + big,
                                "/priority " + big, "/topic " + big, "/winlist " + big,
                                "/set RULES " + big, "/op " + big, "/j 99999999999999999999",
                                "/j #" + big}) {
    say(alice, 1, text);
    alice.drain(100ms);
  }
  // Still connected and answered: the lone player moved to a channel of its own.
  EXPECT_EQ(command(alice, 1, "/who"),
            (Messages{"pline 0 \x11Nickname\tTeam            \tChannel",
                      "pline 0 \x11(\x14" "1\x11) \x14" "Alice          \t\x17                 "
                      "\t\x05#999999999999999"}));
}

}  // namespace

// The in-channel game protocol against the real server: each relay rule with what
// every member does and does not receive, a whole game won by a team, pause and
// resume, a departure that ends a game, idle time-outs and sudden death.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/server_harness.h"

using namespace e2e;

namespace {

using Messages = std::vector<std::string>;

const std::string TIMED_OUT = "pline 0 \x14You have timed out! Disconnecting!";
const std::string SD_ANNOUNCE = "gmsg Time's up! It's SUDDEN DEATH MODE!";

std::string repeat(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

const std::string DEFAULT_NEWGAME =
    "newgame 0 1 2 1 1 1 18 " + repeat('3', 14) + repeat('5', 14) + repeat('2', 15) +
    repeat('4', 14) + repeat('6', 14) + repeat('7', 14) + repeat('1', 15) + " " + repeat('1', 32) +
    repeat('2', 18) + "3" + repeat('4', 11) + repeat('5', 3) + repeat('6', 14) + "7" +
    repeat('8', 6) + repeat('9', 14) + " 1 1";

std::string empty_field(int player) {
  return "f " + std::to_string(player) + " " + repeat('0', 264);
}

class GameE2E : public ::testing::Test {
 protected:
  void start(const std::string& game_conf = "") {
    if (!game_conf.empty()) server.write_file("game.conf", game_conf);
    server.start_ok();
  }
  // Joins the next player (numbers are given out in joining order) and lets every
  // member take in the news of the arrival.
  TestClient& join(const std::string& nick, const std::string& team = "") {
    clients.push_back(std::make_unique<TestClient>());
    TestClient& client = *clients.back();
    EXPECT_TRUE(client.connect());
    EXPECT_EQ(client.join(nick, team), static_cast<int>(clients.size()));
    settle();
    return client;
  }
  void settle() {
    for (auto& client : clients) client->drain(100ms);
  }

  ServerProcess server;
  std::vector<std::unique_ptr<TestClient>> clients;
};

TEST_F(GameE2E, ChatLinesReachTheRightMembers) {
  start();
  TestClient& a = join("Alice");
  TestClient& b = join("Bob");
  TestClient& c = join("Carol");

  for (const char* line :
       {"pline 1 hello", "pline 2 spoofed", "PLINE 1 loud", "pline 1    ", "plineact 1 waves",
        "plineact 3 waves", "gmsg <Alice> t", "gmsg <Alice> hi", "gmsg hello all", "f 1 !33",
        "f 2 !33", "lvl 1 5", "sb 0 cs 1", "dance 1 2", "pline 1 /nosuchcommand", "team 1 Red"}) {
    a.send(line);
  }
  const Messages to_others = {"pline 1 \x04hello", "pline 1 \x04loud", "plineact 1 waves",
                              "gmsg <Alice> hi",   "gmsg hello all",   "f 1 !33",
                              "team 1 Red"};
  EXPECT_EQ(a.drain(), (Messages{"gmsg * PONG", "gmsg <Alice> hi", "gmsg hello all",
                                 "pline 0 \x14Invalid /COMMAND!"}));
  EXPECT_EQ(b.drain(), to_others);
  EXPECT_EQ(c.drain(), to_others);
  EXPECT_TRUE(server.wait_for_log(" #lineblox-Alice - Invalid Command - dance 1 2\n"));
}

TEST_F(GameE2E, GameLinesNeedARunningGameAndReachTheRightMembers) {
  start();
  TestClient& a = join("Alice");
  TestClient& b = join("Bob");
  TestClient& c = join("Carol");
  a.send("startgame 1 1");
  settle();

  for (const char* line :
       {"lvl 2 7", "lvl 1 7", "sb 0 cs 2", "sb 1 a 3", "sb 0 cs", "team 2 Blue"}) {
    b.send(line);
  }
  EXPECT_EQ(a.drain(), (Messages{"lvl 2 7", "sb 0 cs 2"}));
  EXPECT_EQ(b.drain(), (Messages{"lvl 2 7"}));
  EXPECT_EQ(c.drain(), (Messages{"lvl 2 7", "sb 0 cs 2"}));

  // The stored field follows the updates: a newcomer during the game is shown it.
  a.send("f 1 '3H");
  EXPECT_EQ(b.read_message(), "f 1 '3H");
  std::string field = repeat('0', 264);
  field[21 * 12] = 'a';
  clients.push_back(std::make_unique<TestClient>());
  TestClient& d = *clients.back();
  ASSERT_TRUE(d.connect());
  ASSERT_EQ(d.join("Dan"), 4);
  EXPECT_NE(std::find(d.entry.begin(), d.entry.end(), "f 1 " + field), d.entry.end());
}

TEST_F(GameE2E, WholeGameWonByATeamIsCreditedAndStored) {
  start();
  TestClient& a = join("Alice", "RED");
  TestClient& b = join("Bob", "Red");
  TestClient& c = join("Carol");

  // Members are handled newest first: Carol, Bob, Alice.
  a.send("startgame 1 1");
  EXPECT_EQ(c.drain(), (Messages{DEFAULT_NEWGAME, empty_field(2), empty_field(1)}));
  EXPECT_EQ(b.drain(), (Messages{empty_field(3), DEFAULT_NEWGAME, empty_field(1)}));
  EXPECT_EQ(a.drain(), (Messages{empty_field(3), empty_field(2), DEFAULT_NEWGAME}));

  // Red and RED are one side; Bob opens it in member-list order and wins for it.
  c.send("playerlost 3");
  const std::string won = "pline 0 ---- Team Red\x04 WON ----";
  EXPECT_EQ(c.drain(), (Messages{"endgame", "playerwon 2", empty_field(2), empty_field(1), won,
                                 "winlist tRed;3"}));
  EXPECT_EQ(b.drain(), (Messages{"playerlost 3", "endgame", "playerwon 2", empty_field(3),
                                 empty_field(1), won, "winlist tRed;3"}));
  EXPECT_EQ(a.drain(), (Messages{"playerlost 3", "endgame", "playerwon 2", empty_field(3),
                                 empty_field(2), won, "winlist tRed;3"}));

  const std::string image = server.read_file("game.winlist");
  ASSERT_EQ(image.size(), 4800u);
  EXPECT_EQ(image.substr(0, 5), std::string("tRed\0", 5));
  EXPECT_EQ(image.substr(32, 9), std::string("\x03\0\0\0\0\0\0\0\x01", 9));
  EXPECT_EQ(image[48 + 40], '\0');  // row 1 empty

  // The next game starts from the stored table; nothing is credited twice.
  a.send("startgame 1 1");
  settle();
  a.send("startgame 0 1");
  EXPECT_EQ(c.drain(), Messages{"endgame"});
  EXPECT_EQ(server.read_file("game.winlist"), image);
}

// game.winlist edited while the server runs counts from the next start: the win is
// credited on top of the edited rows, and the stored file follows.
TEST_F(GameE2E, WinlistEditedWhileRunningIsReloadedAtTheStart) {
  start();
  TestClient& a = join("Alice");
  TestClient& b = join("Bob");
  std::string image(4800, '\0');
  image.replace(0, 6, "tBlue\0", 6);
  image[32] = 7;
  image[40] = 1;
  image.replace(48, 7, "palice\0", 7);
  image[48 + 32] = 5;
  image[48 + 40] = 1;
  server.write_file("game.winlist", image);

  a.send("startgame 1 1");
  settle();
  b.send("playerlost 2");
  const Messages got = b.drain();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back(), "winlist palice;8 tBlue;7");
  std::string stored = image;
  stored.replace(0, 48, image.substr(48, 48));
  stored.replace(48, 48, image.substr(0, 48));
  stored[32] = 8;
  EXPECT_EQ(server.read_file("game.winlist"), stored);
}

TEST_F(GameE2E, PauseHoldsLevelsUntilResumed) {
  start();
  TestClient& a = join("Alice");
  TestClient& b = join("Bob");
  a.send("startgame 1 1");
  settle();

  a.send("pause 1 1");
  EXPECT_EQ(a.read_message(), "pause 1");
  EXPECT_EQ(b.read_message(), "pause 1");
  b.send("lvl 2 3");
  b.send("startgame 0 2");
  a.send("startgame 0 1");  // a paused game cannot be stopped
  EXPECT_TRUE(a.silent());
  a.send("pause 0 1");
  EXPECT_EQ(b.read_message(), "pause 0");
  b.send("lvl 2 3");
  EXPECT_EQ(a.drain(), (Messages{"pause 0", "lvl 2 3"}));
  EXPECT_EQ(b.drain(), (Messages{"lvl 2 3"}));
  EXPECT_TRUE(server.wait_for_log(" #lineblox-Alice pauses game\n"));
}

TEST_F(GameE2E, DepartureOfTheLastOpponentEndsTheGame) {
  start();
  TestClient& a = join("Alice");
  TestClient& b = join("Bob");
  a.send("startgame 1 1");
  settle();
  b.close();
  EXPECT_EQ(a.drain(), (Messages{"playerleave 2", "endgame"}));
  a.send("lvl 1 4");  // the game is over
  EXPECT_TRUE(a.silent());
}

// Two seconds rather than one: a tick between connecting and the team statement
// must not end the client before it is in the channel.
TEST_F(GameE2E, IdleClientTimesOut) {
  start("timeout_outgame=2\n");
  TestClient& a = join("Alice");
  auto before = a.read_until(TIMED_OUT, 3500ms);
  ASSERT_TRUE(before.has_value());
  EXPECT_TRUE(before->empty());
  EXPECT_TRUE(a.wait_closed());
  EXPECT_TRUE(server.wait_for_log(" #lineblox-Alice: Timed out!\n"));
}

TEST_F(GameE2E, SuddenDeathAnnouncesAddsLinesAndHoldsWhilePaused) {
  start("sd_timeout=1\nsd_secs_between_lines=1\nsd_lines_per_add=2\n");
  TestClient& a = join("Alice");
  TestClient& b = join("Bob");
  a.send("startgame 1 1");
  ASSERT_TRUE(a.read_until(DEFAULT_NEWGAME).has_value());
  ASSERT_TRUE(b.read_until(DEFAULT_NEWGAME).has_value());

  for (TestClient* client : {&a, &b}) EXPECT_TRUE(client->read_until(SD_ANNOUNCE).has_value());

  // Paused right after the announcement: the lines wait for the resume.
  a.send("pause 1 1");
  for (TestClient* client : {&a, &b}) {
    const auto before = client->read_until("pause 1");
    ASSERT_TRUE(before.has_value());
    for (const std::string& message : *before) EXPECT_EQ(message, "sb 0 a 0");
  }
  EXPECT_TRUE(b.silent(1100ms));

  a.send("pause 0 1");
  for (TestClient* client : {&a, &b}) {
    EXPECT_EQ(client->read_message(), "pause 0");
    EXPECT_EQ(client->read_message(1500ms), "sb 0 a 0");
    EXPECT_EQ(client->read_message(), "sb 0 a 0");
  }
  EXPECT_TRUE(a.silent(200ms));  // two lines per step, no more
}

}  // namespace

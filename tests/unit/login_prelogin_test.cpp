// Lines of a client in STATE_INIT, in process: the exact query answers over a scene
// of two channels, the login checks with their log lines and the scope of the
// nickname test, the provisional player number and the full channel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channel/departure.h"
#include "config/settings.h"
#include "config/winlist.h"
#include "login/prelogin.h"
#include "unit/channel_peers.h"
#include "unit/login_lines.h"

namespace {

class PreloginTest : public ChannelPeersTest {
 protected:
  void SetUp() override {
    ChannelPeersTest::SetUp();
    lobby_ = &create_channel("lineblox");
    lobby_->topic = "fun";
    second_ = &create_channel("second");
    second_->priority = 60;
    second_->maxplayers = 4;
    second_->game_state = GAME_RUNNING;
    add(*lobby_, "Alice", 1, STATE_CHANNEL, "red");
    add(*lobby_, "Bob", 2, STATE_TEAM);
    add(*lobby_, "Ghost", 0, STATE_INIT);
    Peer carol = add(*second_, "Carol", 1, STATE_CHANNEL, "", PLAY_ACTIVE);
    carol.client->level = 3;
    newcomer_ = add(*lobby_, "???", 0, STATE_INIT);
  }

  Outcome send_line(std::string line) { return handle_init_line(*newcomer_.client, line); }

  // What the newcomer received, without a winlist message (the game code sends it).
  std::vector<std::string> received() {
    std::vector<std::string> out;
    for (std::string& m : messages(newcomer_.fd)) {
      if (m.rfind("winlist", 0) != 0) out.push_back(std::move(m));
    }
    return out;
  }

  Channel* lobby_ = nullptr;
  Channel* second_ = nullptr;
  Peer newcomer_;
};

TEST_F(PreloginTest, QueriesAreAnsweredInPlainTextAndTheClientStays) {
  WinlistEntry& first = winlist[0];
  first.kind = KIND_PLAYER;
  first.name = {'A', 'l', 'i', 'c', 'e'};
  first.score = 12;
  first.used = 1;
  WinlistEntry& second = winlist[1];
  second.kind = KIND_TEAM;
  second.name = {'r', 'e', 'd'};
  second.score = 3;
  second.used = 1;

  struct Case {
    std::string line, answer;
  };
  const Case cases[] = {
      {"playerquery", "Number of players logged in: 2\n"},
      {"version", "1.13.16\n+OK\n"},
      {"VeRsIoN", "1.13.16\n+OK\n"},
      {"LISTCHAN", "\"lineblox\" \"fun\" 2 6 50 1\n\"second\" \"\" 1 4 60 2\n+OK\n"},
      {"listuser",
       "\"Alice\" \"red\" \"1.13\" 1 0 1 \"lineblox\"\n"
       "\"Carol\" \"\" \"1.13\" 1 1 3 \"second\"\n+OK\n"},
      {"getwinlist", "\"Alice\" p 12\n\"red\" t 3\n+OK\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(send_line(c.line), Outcome::Kept) << c.line;
    EXPECT_EQ(take(newcomer_.fd), c.answer) << c.line;
  }
  EXPECT_EQ(newcomer_.client->state, STATE_INIT);
  EXPECT_EQ(newcomer_.client->playernum, 3);
  EXPECT_FALSE(closed(newcomer_.fd));
}

TEST_F(PreloginTest, WinlistQueryIsLoggedWhateverTheVerbosity) {
  server_settings.verbose = 0;
  send_line("getwinlist");
  EXPECT_EQ(take(newcomer_.fd), "+OK\n");
  EXPECT_EQ(log_lines(), std::vector<std::string>{"host-???: GetWinlist request\n"});
}

TEST_F(PreloginTest, LoginChecksRefuseWithTheirMessageAndLogLine) {
  server_settings.verbose = 9;
  const std::string a30(30, 'a');
  struct Case {
    std::string line;
    std::vector<std::string> messages;
    std::string log;
  };
  const Case cases[] = {
      {"abcdef", {}, "host-???: Disconnected due to invalid command (This can be normal)\n"},
      {"version ", {}, "host-???: Disconnected due to failed decryption: version \n"},
      {encode_login_line("brikkastart Dave"), {},
       "host-???: Disconnected due to invalid brikkastart: brikkastart Dave\n"},
      {encode_login_line("brikkastart SeRvEr 1.13"), {"noconnecting Nickname SeRvEr not allowed!"},
       "host-??? Disconnected due to invalid nickname: SeRvEr\n"},
      {encode_login_line("brikkastart Dave 1.12"),
       {"noconnecting Lineblox version (1.12) does not match Server's (1.13)!"},
       "Dave: Client version (1.12) not allowed!\n"},
      {encode_login_line("brikkastart " + a30 + "b 1.13"),
       {"noconnecting Lineblox version (b) does not match Server's (1.13)!"},
       a30 + ": Client version (b) not allowed!\n"},
      // Players of any channel hold their nickname, in any case.
      {encode_login_line("brikkastart ALICE 1.13"), {"noconnecting Nickname already exists on server!"},
       "host-???: Disconnected since nickname already exists on server: ALICE\n"},
      {encode_login_line("brikkastart bob 1.13"), {"noconnecting Nickname already exists on server!"},
       "host-???: Disconnected since nickname already exists on server: bob\n"},
      {encode_login_line("brikkastart carol 1.13"), {"noconnecting Nickname already exists on server!"},
       "host-???: Disconnected since nickname already exists on server: carol\n"},
  };
  for (const Case& c : cases) {
    std::remove(LOG_FILE);
    const std::size_t members = lobby_->members.size();
    ASSERT_EQ(send_line(c.line), Outcome::Removed) << c.line;
    EXPECT_EQ(received(), c.messages) << c.line;
    EXPECT_TRUE(closed(newcomer_.fd)) << c.line;
    EXPECT_EQ(lobby_->members.size(), members - 1) << c.line;
    EXPECT_EQ(log_lines().back(), c.log) << c.line;
    newcomer_ = add(*lobby_, "???", 0, STATE_INIT);
  }
}

TEST_F(PreloginTest, AcceptedLoginTakesTheLowestFreeNumberAndWaitsForItsTeam) {
  newcomer_.client->team = "stale";
  // A nickname held only by a client still in STATE_INIT is free.
  ASSERT_EQ(send_line(encode_login_line("brikkastart ghost 1.13", "31415", 0x10)), Outcome::Kept);
  EXPECT_EQ(received(), std::vector<std::string>{"playernum 3"});
  const Client& client = *newcomer_.client;
  EXPECT_EQ(client.state, STATE_TEAM);
  EXPECT_EQ(client.nick, "ghost");
  EXPECT_EQ(client.version, "1.13");
  EXPECT_EQ(client.team, "");
  EXPECT_EQ(count_players(*lobby_), 3);

  // Numbers are reused lowest first: with 1, 2 and 3 held and 2 gone, 2 then 4.
  kill_socket(find_player(*lobby_, 2)->fd);
  remove_client(*find_player(*lobby_, 2));
  newcomer_ = add(*lobby_, "???", 0, STATE_INIT);
  ASSERT_EQ(send_line(encode_login_line("brikkastart Dave 1.13")), Outcome::Kept);
  EXPECT_EQ(received(), std::vector<std::string>{"playernum 2"});
  newcomer_ = add(*lobby_, "???", 0, STATE_INIT);
  ASSERT_EQ(send_line(encode_login_line("brikkastart Erin 1.13")), Outcome::Kept);
  EXPECT_EQ(received(), std::vector<std::string>{"playernum 4"});
}

TEST_F(PreloginTest, FullChannelRefusesQueriesAndLoginsAlike) {
  server_settings.verbose = 9;
  for (const std::string line : {"playerquery", "x", "listchan"}) {
    lobby_->maxplayers = 2;
    ASSERT_EQ(send_line(line), Outcome::Removed) << line;
    EXPECT_EQ(received(), std::vector<std::string>{"noconnecting Server is Full!"}) << line;
    EXPECT_TRUE(closed(newcomer_.fd));
    EXPECT_EQ(log_lines().back(), "host-???: Disconnected because of FULL server.\n");
    newcomer_ = add(*lobby_, "???", 0, STATE_INIT);
  }
  lobby_->maxplayers = 0;
  EXPECT_EQ(send_line("version"), Outcome::Removed);
}

}  // namespace

// Departure: the side count over teams and play states (only members still playing
// count), and what remove_client tells the channel, when it ends the game and when
// the channel goes with its last member.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channel/departure.h"
#include "config/settings.h"
#include "unit/channel_peers.h"

namespace {

const std::string ENDGAME = "endgame";

class DepartureTest : public ChannelPeersTest {};

TEST_F(DepartureTest, SideCountTakesEachRunOfOneTeamAmongThePlayingOnce) {
  struct M {
    std::string team;
    PlayState play;
    ClientState state = STATE_CHANNEL;
  };
  struct Case {
    const char* what;
    std::vector<M> members;  // in member-list order
    int sides;
  };
  const Case cases[] = {
      {"nobody", {}, 0},
      {"three without teams", {{"", PLAY_ACTIVE}, {"", PLAY_ACTIVE}, {"", PLAY_ACTIVE}}, 3},
      {"one team, any case", {{"red", PLAY_ACTIVE}, {"RED", PLAY_ACTIVE}}, 1},
      {"team and a loner", {{"x", PLAY_ACTIVE}, {"x", PLAY_ACTIVE}, {"", PLAY_ACTIVE}}, 2},
      {"loner between one team", {{"x", PLAY_ACTIVE}, {"", PLAY_ACTIVE}, {"x", PLAY_ACTIVE}}, 3},
      // A lost member no longer opens or closes a side: x and y both still play.
      {"lost member sets nothing", {{"x", PLAY_LOST}, {"x", PLAY_ACTIVE}, {"y", PLAY_ACTIVE}}, 2},
      {"lost loner between a team", {{"x", PLAY_ACTIVE}, {"", PLAY_LOST}, {"x", PLAY_ACTIVE}}, 1},
      {"spectators", {{"", PLAY_NONE}, {"a", PLAY_NONE}, {"", PLAY_ACTIVE}}, 1},
      {"not yet entered", {{"", PLAY_ACTIVE, STATE_TEAM}, {"", PLAY_ACTIVE}}, 1},
  };
  for (const Case& c : cases) {
    reset_world();
    Channel& channel = create_channel("c");
    int n = 0;
    // Added last-to-first so the member list reads in the order given.
    for (auto it = c.members.rbegin(); it != c.members.rend(); ++it) {
      ++n;
      add(channel, "m" + std::to_string(n), n, it->state, it->team, it->play);
    }
    EXPECT_EQ(count_sides(channel, nullptr).sides, c.sides) << c.what;
  }
}

TEST_F(DepartureTest, GameEndsOnlyWhenAtMostOneSideIsLeftPlaying) {
  struct M {
    std::string team;
    PlayState play;
  };
  struct Case {
    const char* what;
    GameState game;
    PlayState leaver;
    std::vector<M> others;  // in member-list order
    bool ends;
  };
  const Case cases[] = {
      {"two loners", GAME_RUNNING, PLAY_ACTIVE, {{"", PLAY_ACTIVE}}, true},
      {"three loners", GAME_RUNNING, PLAY_ACTIVE, {{"", PLAY_ACTIVE}, {"", PLAY_ACTIVE}}, false},
      {"one team left", GAME_RUNNING, PLAY_ACTIVE, {{"a", PLAY_ACTIVE}, {"A", PLAY_ACTIVE}}, true},
      {"A x lost, B x, C y", GAME_RUNNING, PLAY_ACTIVE,
       {{"x", PLAY_LOST}, {"x", PLAY_ACTIVE}, {"y", PLAY_ACTIVE}}, false},
      {"leaver had lost", GAME_RUNNING, PLAY_LOST, {{"", PLAY_ACTIVE}}, false},
      {"paused", GAME_PAUSED, PLAY_ACTIVE, {{"", PLAY_ACTIVE}}, false},
      {"stopped", GAME_STOPPED, PLAY_NONE, {{"", PLAY_NONE}}, false},
  };
  for (const Case& c : cases) {
    reset_world();
    Channel& channel = create_channel("c");
    channel.game_state = c.game;
    std::vector<Peer> others;
    int n = 1;
    for (auto it = c.others.rbegin(); it != c.others.rend(); ++it) {
      ++n;
      others.insert(others.begin(),
                    add(channel, "o" + std::to_string(n), n, STATE_CHANNEL, it->team, it->play));
    }
    Peer leaver = add(channel, "leaver", 1, STATE_CHANNEL, "", c.leaver);
    kill_socket(leaver.client->fd);
    remove_client(*leaver.client);

    EXPECT_EQ(channel.game_state, c.ends ? GAME_STOPPED : c.game) << c.what;
    for (const Peer& other : others) {
      std::vector<std::string> expected{"playerleave 1"};
      if (c.ends) expected.push_back(ENDGAME);
      EXPECT_EQ(messages(other.fd), expected) << c.what;
      if (c.ends) {
        EXPECT_EQ(other.client->play_state, PLAY_NONE) << c.what;
        EXPECT_EQ(other.client->idle_left, server_settings.timeout_outgame) << c.what;
      }
    }
  }
}

TEST_F(DepartureTest, LostConnectionIsLoggedAndOnlyEnteredMembersAreTold) {
  Channel& channel = create_channel("lineblox");
  Peer waiting = add(channel, "???", 0, STATE_INIT);
  Peer team = add(channel, "Tess", 2, STATE_TEAM);
  Peer stays = add(channel, "Bob", 3);
  Peer leaver = add(channel, "Alice", 1);
  kill_socket(leaver.client->fd);
  remove_client(*leaver.client);

  EXPECT_EQ(messages(stays.fd), std::vector<std::string>{"playerleave 1"});
  EXPECT_TRUE(messages(waiting.fd).empty());
  EXPECT_TRUE(messages(team.fd).empty());
  EXPECT_EQ(channel.members.size(), 3u);
  EXPECT_EQ(log_lines(),
            std::vector<std::string>{"#lineblox-Alice Lost telnet connection from host-Alice\n"});

  // Clients that never entered leave without a word or a log line.
  kill_socket(team.client->fd);
  remove_client(*team.client);
  EXPECT_TRUE(messages(stays.fd).empty());
  EXPECT_EQ(log_lines().size(), 1u);
}

TEST_F(DepartureTest, LastMemberTakesADefaultChannelButNotAPersistantOne) {
  Channel& plain = create_channel("lineblox");
  Channel& kept = create_channel("kept");
  kept.persistant = true;
  Peer a = add(plain, "???", 0, STATE_INIT);
  Peer b = add(kept, "Bob", 1);

  kill_socket(a.client->fd);
  remove_client(*a.client);
  ASSERT_EQ(count_channels(), 1);
  EXPECT_EQ(channel_at(1), &kept);

  kill_socket(b.client->fd);
  remove_client(*b.client);
  ASSERT_EQ(count_channels(), 1);
  EXPECT_TRUE(kept.members.empty());
}

}  // namespace

// The channel commands: /list and /who lines, /join in all its forms (finding,
// creating, refusing, moving during games), /topic, /priority and /persistant.
#include <gtest/gtest.h>

#include "commands/dispatch.h"
#include "config/settings.h"
#include "unit/commands_world.h"

namespace {

using Messages = std::vector<std::string>;

const std::string JOIN_FORMAT = "pline 0 \x11" "Format: \x14/join \x05<#channel|channel number>";

std::string joined(const std::string& channel) {
  return "pline 0 \x0cJoined existing Channel - \x05#" + channel + "\x04";
}
std::string created(const std::string& channel) {
  return "pline 0 \x0c" "Created new Channel - \x05#" + channel + "\x04";
}

TEST_F(CommandsTest, ListShowsEveryChannelWithItsState) {
  Channel& first = channel("first");
  Channel& second = channel("second");
  Channel& tiny = channel("tiny");
  first.game_state = GAME_RUNNING;
  first.topic = "Fun";
  first.priority = 7;
  second.game_state = GAME_PAUSED;  // a paused game is not shown as running
  tiny.maxplayers = 1;
  member(first, 1, "a");
  member(first, 2, "b");
  member(first, 3, "init", STATE_INIT);  // takes no place
  member(tiny, 1, "t", STATE_TEAM);
  Client& me = member(second, 1, "me");
  run(me, "/list");
  EXPECT_EQ(received("me"),
            (Messages{
                "pline 0 \x11Lineblox Channel Lister - (Type \x14/join \x05#channelname\x11)",
                "pline 0 \x11(\x05" "1\x11) \x05#first \t\x11[\x17OPEN\x05-2/6\x11] "
                "\x06{INGAME}\x11 (7)   \x04" "Fun",
                "pline 0 \x11(\x14" "2\x11) \x05#second\t\x11[\x17OPEN\x05-1/6\x11] "
                "                 (50)   \x04",
                "pline 0 \x11(\x05" "3\x11) \x05#tiny  \t\x11[\x14" "FULL\x11]"
                "                        (50)   \x04",
            }));
}

TEST_F(CommandsTest, WhoListsChannelMembersWithHostsOnlyForAuthenticatedOps) {
  Channel& first = channel("first");
  Channel& second = channel("second");
  member(first, 1, "alice", STATE_CHANNEL, "red");
  member(first, 2, "init", STATE_TEAM);  // not listed
  Client& me = member(second, 1, "me");
  run(me, "/who");
  EXPECT_EQ(received("me"),
            (Messages{
                "pline 0 \x11Nickname\tTeam            \tChannel",
                "pline 0 \x11(\x06" "1\x11) \x06" "alice          \t\x17red              \t\x05#first",
                "pline 0 \x11(\x14" "2\x11) \x14me             \t\x17                 \t\x05#second",
            }));
  me.level = 3;
  run(me, "/who");
  EXPECT_EQ(received("me"),
            (Messages{
                "pline 0 \x11Nickname\tTeam            \tChannel\tIP",
                "pline 0 \x11(\x06" "1\x11) \x06" "alice          \t\x17red              \t\x05#first"
                "\talice.example",
                "pline 0 \x11(\x14" "2\x11) \x14me             \t\x17                 \t\x05#second"
                "\tme.example",
            }));
}

// Two players in a running game; one moves to a channel where another waits.
TEST_F(CommandsTest, JoinDuringGameEndsTheOldGameWhenOneSideIsLeft) {
  Channel& lobby = channel("lobby");
  Channel& arena = channel("arena");
  lobby.game_state = GAME_RUNNING;
  Client& a = member(lobby, 1, "a");
  Client& me = member(lobby, 2, "me", STATE_CHANNEL, "blue");
  member(arena, 1, "c", STATE_CHANNEL, "red");
  a.play_state = me.play_state = PLAY_ACTIVE;
  me.field.fill(3);
  me.level = 3;

  EXPECT_EQ(run(me, "/join #ARENA"), Outcome::Kept);
  EXPECT_EQ(received("me"), (Messages{joined("arena"), "endgame", "playerleave 2",
                                      "playerleave 1", "playerjoin 1 c", "team 1 red",
                                      "playernum 2"}));
  EXPECT_EQ(received("a"),
            (Messages{"pline 0 \x06me\x04 \x06has joined channel #arena", "playerleave 2",
                      "endgame"}));
  EXPECT_EQ(received("c"), (Messages{"playerjoin 2 me", "team 2 blue",
                                     "pline 0 \x0cme\x04 \x0chas joined channel #arena"}));
  EXPECT_EQ(lobby.game_state, GAME_STOPPED);
  EXPECT_EQ(a.play_state, PLAY_NONE);
  EXPECT_EQ(me.channel, &arena);
  EXPECT_EQ(me.playernum, 2);
  EXPECT_EQ(me.play_state, PLAY_NONE);
  EXPECT_EQ(me.idle_left, server_settings.timeout_outgame);
  EXPECT_EQ(me.field, Field{});
  EXPECT_EQ(lobby.members.size(), 1u);
  EXPECT_TRUE(has_level(me, 3));  // an authenticated op stays one in every channel
  EXPECT_NE(read_file("game.log").find("#arena-me joined channel\n"), std::string::npos);
}

// Only players still playing count as sides: a member who has already lost does not
// merge a live team-mate into its own side.
TEST_F(CommandsTest, JoinKeepsTheOldGameWhileTwoSidesStillPlay) {
  Channel& lobby = channel("lobby");
  channel("arena");
  lobby.game_state = GAME_RUNNING;
  Client& c = member(lobby, 3, "c", STATE_CHANNEL, "y");
  Client& b = member(lobby, 2, "b", STATE_CHANNEL, "x");
  Client& a = member(lobby, 1, "a", STATE_CHANNEL, "x");
  Client& me = member(lobby, 4, "me");
  a.play_state = PLAY_LOST;
  b.play_state = c.play_state = me.play_state = PLAY_ACTIVE;
  run(me, "/join #arena");
  EXPECT_EQ(lobby.game_state, GAME_RUNNING);
  for (const char* nick : {"a", "b", "c"}) {
    EXPECT_EQ(received(nick), (Messages{"pline 0 \x06me\x04 \x06has joined channel #arena",
                                        "playerleave 4"}))
        << nick;
  }
}

// The newcomer gets the lowest number no player holds (one still stating its team
// included), then, per member, "playerlost" for those out of the game before their
// field, and last the game state.
TEST_F(CommandsTest, JoinIntoARunningGameShowsItAsLost) {
  Channel& lobby = channel("lobby");
  Channel& arena = channel("arena");
  arena.game_state = GAME_PAUSED;
  Client& me = member(lobby, 1, "me");
  Client& c = member(arena, 1, "c");
  Client& lost = member(arena, 3, "lost", STATE_CHANNEL, "red");
  member(arena, 2, "t", STATE_TEAM);
  c.play_state = PLAY_ACTIVE;
  lost.play_state = PLAY_LOST;
  lost.field.fill(1);
  run(me, "/j 2");
  EXPECT_EQ(received("me"),
            (Messages{joined("arena"), "playerleave 1", "playerjoin 3 lost", "team 3 red",
                      "playerjoin 1 c", "team 1 ", "playernum 4", "playerlost 3",
                      "f 3 " + std::string(FIELD_SIZE, '1'), "f 1 " + std::string(FIELD_SIZE, '0'),
                      "ingame", "pause 1"}));
  EXPECT_TRUE(received("t").empty());
  EXPECT_EQ(received("lost"), (Messages{"playerjoin 4 me", "team 4 ",
                                        "pline 0 \x0cme\x04 \x0chas joined channel #arena"}));
  EXPECT_EQ(me.playernum, 4);
  EXPECT_EQ(me.play_state, PLAY_LOST);
  EXPECT_EQ(count_channels(), 1);  // the emptied default channel is gone
}

// Re-entering the own channel during a game: the mover is a member of the old channel
// again, so it hears its own departure and the end of the game as well.
TEST_F(CommandsTest, JoinOwnChannelDuringAGameEndsItForEveryone) {
  Channel& lobby = channel("lobby");
  lobby.game_state = GAME_RUNNING;
  Client& a = member(lobby, 1, "a");
  Client& me = member(lobby, 2, "me");
  a.play_state = me.play_state = PLAY_ACTIVE;
  run(me, "/j 1");
  const std::string left = "pline 0 \x06me\x04 \x06has joined channel #lobby";
  EXPECT_EQ(received("me"),
            (Messages{joined("lobby"), left, "endgame", "playerleave 2", "playerleave 1",
                      "playerjoin 1 a", "team 1 ", "playernum 2",
                      "f 1 " + std::string(FIELD_SIZE, '0'), "ingame", "endgame"}));
  EXPECT_EQ(received("a"), (Messages{left, "playerleave 2", "playerjoin 2 me", "team 2 ",
                                     "pline 0 \x0cme\x04 \x0chas joined channel #lobby",
                                     "endgame"}));
  EXPECT_EQ(lobby.game_state, GAME_STOPPED);
  EXPECT_EQ(me.play_state, PLAY_NONE);
  EXPECT_EQ(a.play_state, PLAY_NONE);
}

TEST_F(CommandsTest, JoinFindsOrCreatesChannelsByName) {
  server_settings.maxchannels = 5;
  Channel& lobby = channel("lobby");
  Client& me = member(lobby, 1, "me");
  Client& other = member(lobby, 2, "other");
  lobby.persistant = true;
  // The first answer to a command.
  auto answer = [&](Client& sender, const std::string& text) {
    drain_all();
    run(sender, text);
    const Messages got = received(sender.nick);
    return got.empty() ? std::string() : got.front();
  };

  // Names are cut to 15 characters, and found by the name they would be created with.
  EXPECT_EQ(answer(me, "/join #abcdefghijklmnopqrst"), created("abcdefghijklmno"));
  EXPECT_EQ(answer(other, "/join #ABCDEFGHIJKLMNOxyz"), joined("abcdefghijklmno"));
  EXPECT_EQ(count_channels(), 2);  // the persistant lobby stays, empty
  EXPECT_TRUE(lobby.members.empty());

  // A number past the list creates a channel named after the word, unless one exists.
  EXPECT_EQ(answer(me, "/join 3x"), created("3x"));
  EXPECT_EQ(answer(other, "/join 3x"), joined("3x"));
  EXPECT_EQ(count_channels(), 2);  // "abcdefghijklmno" went with its last member
  EXPECT_EQ(answer(me, "/join 99999999999999999999"), created("999999999999999"));
  EXPECT_EQ(answer(other, "/join 3"), joined("999999999999999"));
  EXPECT_EQ(count_channels(), 2);

  // A '#' not directly at the argument's start is part of the name; so is a lone '#'.
  EXPECT_EQ(answer(me, "/join  #x"), created("#x"));
  EXPECT_EQ(answer(me, "/join # x"), created("#"));
  EXPECT_EQ(count_channels(), 3);  // lobby, "999999999999999" and "#"
  for (const std::string& text : std::vector<std::string>{"/join", "/join   ", "/join abc", "/join -3", "/join 0",
                                 "/join " + std::string(600, 'q')}) {
    EXPECT_EQ(answer(me, text), JOIN_FORMAT) << text;
  }
}

TEST_F(CommandsTest, JoinRefusesFullChannelsAndCreationBeyondTheLimits) {
  Channel& lobby = channel("lobby");
  Channel& small = channel("small");
  small.maxplayers = 1;
  member(small, 1, "s", STATE_TEAM);
  Client& me = member(lobby, 1, "me");
  me.level = 3;

  server_settings.maxchannels = 2;
  run(me, "/join #small");
  EXPECT_EQ(received("me"), Messages{"pline 0 \x11That channel is \x14" "FULL\x04!"});
  run(me, "/join #new");
  EXPECT_EQ(received("me"), Messages{"pline 0 \x14" "Cannot create any more channels!"});

  server_settings.maxchannels = 3;
  server_settings.command_join = 4;
  me.level = 1;
  run(me, "/join #new");
  EXPECT_EQ(received("me"), Messages{"pline 0 \x14" "Cannot create new channel"});
  EXPECT_EQ(count_channels(), 2);
  EXPECT_EQ(me.channel, &lobby);
  me.level = 3;
  run(me, "/join #new");
  EXPECT_EQ(received("me").front(), created("new"));
}

TEST_F(CommandsTest, JoinOwnChannelLeavesAndReentersWithTheLowestFreeNumber) {
  Channel& lobby = channel("lobby");
  member(lobby, 1, "a");
  Client& me = member(lobby, 3, "me");
  run(me, "/j 1");
  EXPECT_EQ(received("me"),
            (Messages{joined("lobby"), "pline 0 \x06me\x04 \x06has joined channel #lobby",
                      "playerleave 3", "playerleave 1", "playerjoin 1 a", "team 1 ",
                      "playernum 2"}));
  EXPECT_EQ(received("a"),
            (Messages{"pline 0 \x06me\x04 \x06has joined channel #lobby", "playerleave 3",
                      "playerjoin 2 me", "team 2 ", "pline 0 \x0cme\x04 \x0chas joined channel #lobby"}));
  EXPECT_EQ(me.playernum, 2);
  EXPECT_EQ(count_channels(), 1);
}

TEST_F(CommandsTest, TopicPriorityAndPersistant) {
  Channel& lobby = channel("lobby");
  Client& me = member(lobby, 1, "me");
  member(lobby, 2, "b");
  member(lobby, 3, "t", STATE_TEAM);

  run(me, "/topic");
  EXPECT_TRUE(received("me").empty());
  run(me, "/topic " + std::string(40, 'z'));
  const std::string topic(30, 'z');
  EXPECT_EQ(lobby.topic, topic);
  const Messages told{"pline 0 \x0cme\x04\x0c changes the channel topic to " + topic};
  EXPECT_EQ(received("me"), told);
  EXPECT_EQ(received("b"), told);
  EXPECT_TRUE(received("t").empty());
  run(me, "/topic  two");  // the argument position is fixed: a second blank belongs to it
  EXPECT_EQ(lobby.topic, " two");
  run(me, "/topic ");
  EXPECT_EQ(lobby.topic, "");
  drain_all();

  const std::string range =
      "pline 0 \x11" "Channel priority should lie in the range of 0 to 99. 0 prevents people "
      "from automatically joining.";
  for (const std::string text : {"/priority 100", "/priority -1", "/priority 4294967296",
                                 "/priority -99999999999999999999"}) {
    run(me, text);
    EXPECT_EQ(received("me"), Messages{range}) << text;
  }
  EXPECT_EQ(lobby.priority, 50);
  run(me, "/priority 0");
  EXPECT_EQ(lobby.priority, 0);
  run(me, "/priority x");  // no number reads as 0
  EXPECT_EQ(received("b").back(), "pline 0 \x0cme\x04\x0c changes the channel priority to 0");

  const std::string on = "pline 0 \x11" "Channel is now persistant, and will not be deleted";
  const std::string off = "pline 0 \x11" "Channel will be deleted when last player leaves";
  me.level = 3;
  drain_all();
  for (const auto& [text, flag] : std::vector<std::pair<std::string, bool>>{
           {"/persistant 0", false}, {"/persistant 1", true}, {"/persistant 0 1", false},
           {"/persistant x", true}, {"/persistant 00", false}, {"/persistant", true}}) {
    run(me, text);
    EXPECT_EQ(lobby.persistant, flag) << text;
    EXPECT_EQ(received("me"), Messages{flag ? on : off}) << text;
  }
}

}  // namespace

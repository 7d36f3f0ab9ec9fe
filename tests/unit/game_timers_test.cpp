// The one-second timer driven by direct calls: idle time-outs (with removals that
// delete channels in the middle of the walk) and sudden death, held while paused.
#include <gtest/gtest.h>

#include "channel/timers.h"
#include "game/relay.h"
#include "unit/game_support.h"

namespace {

const std::string TIMED_OUT = "pline 0 \x14You have timed out! Disconnecting!";

class TimersTest : public GameTest {};

TEST_F(TimersTest, IdleClientIsToldClosedAndRemoved) {
  Channel& keep = create_channel("keep");
  keep.persistant = true;
  Client& quiet = add_member(keep, "Quiet", 1);
  quiet.idle_left = 2;
  const int fd = quiet.fd;

  run_timers();
  EXPECT_EQ(quiet.idle_left, 1);
  EXPECT_TRUE(received_by_fd(fd).empty());

  run_timers();
  EXPECT_EQ(received_by_fd(fd), std::vector<std::string>{TIMED_OUT});
  EXPECT_TRUE(closed_by_server(fd));
  EXPECT_TRUE(keep.members.empty());
  EXPECT_EQ(log_count("#keep-Quiet: Timed out!\n"), 1);
  EXPECT_EQ(log_count("#keep-Quiet Lost telnet connection from localhost\n"), 1);
}

// Channel b's only member times out and takes b with it; the members before and
// after, in the same channel and in others, are counted down exactly once.
TEST_F(TimersTest, EveryClientCountedOnceWhileRemovalsDeleteChannels) {
  Channel& a = create_channel("a");
  Client& a_last = add_member(a, "a2", 2);
  Client& a_first = add_member(a, "a1", 1);
  Channel& b = create_channel("b");
  Client& b_only = add_member(b, "b1", 1, STATE_INIT);
  Channel& c = create_channel("c");
  Client& c_last = add_member(c, "c3", 3, STATE_TEAM);  // times out, channel stays
  Client& c_mid = add_member(c, "c2", 2);
  Client& c_first = add_member(c, "c1", 1);  // times out first
  Channel& d = create_channel("d");
  Client& d_only = add_member(d, "d1", 1);

  for (Client* client : {&a_first, &a_last, &c_mid, &d_only}) client->idle_left = 5;
  for (Client* client : {&b_only, &c_first, &c_last}) client->idle_left = 1;
  const int b_fd = b_only.fd;
  const int c_first_fd = c_first.fd;
  const int c_last_fd = c_last.fd;

  run_timers();

  EXPECT_EQ(a_first.idle_left, 4);
  EXPECT_EQ(a_last.idle_left, 4);
  EXPECT_EQ(c_mid.idle_left, 4);
  EXPECT_EQ(d_only.idle_left, 4);
  ASSERT_EQ(count_channels(), 3);
  EXPECT_EQ(channel_at(1), &a);
  EXPECT_EQ(channel_at(2), &c);
  EXPECT_EQ(channel_at(3), &d);
  ASSERT_EQ(c.members.size(), 1u);
  EXPECT_EQ(c.members.front().get(), &c_mid);
  for (int fd : {b_fd, c_first_fd, c_last_fd}) {
    EXPECT_EQ(received_by_fd(fd), std::vector<std::string>{TIMED_OUT});
    EXPECT_TRUE(closed_by_server(fd));
  }
  // c2 saw c1 leave; c3 was never announced (still stating its team).
  EXPECT_EQ(received(c_mid), std::vector<std::string>{"playerleave 1"});
}

TEST_F(TimersTest, NegativeNeverTimesOutAndZeroTimesOutOnTheNextTick) {
  Channel& channel = create_channel("lineblox");
  Client& never = add_member(channel, "Never", 2);
  never.idle_left = -1;
  Client& now = add_member(channel, "Now", 1);
  now.idle_left = 0;
  const int now_fd = now.fd;

  run_timers();
  EXPECT_TRUE(closed_by_server(now_fd));
  for (int i = 0; i < 5; ++i) run_timers();
  EXPECT_EQ(never.idle_left, -1);
  EXPECT_EQ(channel.members.size(), 1u);
}

class SuddenDeathTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    channel = &create_channel("lineblox");
    channel->settings.sd_timeout = 2;
    channel->settings.sd_secs_between_lines = 2;
    channel->settings.sd_lines_per_add = 3;
    channel->settings.sd_message = "Hurry!";
    waiting = &add_member(*channel, "Wait", 3, STATE_TEAM);
    p2 = &add_member(*channel, "Bob", 2);
    p1 = &add_member(*channel, "Alice", 1);
    say(*p1, "startgame 1 1");
    received(*p1);
    received(*p2);
  }
  void say(Client& client, std::string line) { handle_channel_line(client, line); }

  Channel* channel = nullptr;
  Client* p1 = nullptr;
  Client* p2 = nullptr;
  Client* waiting = nullptr;
};

TEST_F(SuddenDeathTest, AnnouncesThenAddsLinesAndHoldsWhilePaused) {
  const std::vector<std::string> lines(3, "sb 0 a 0");
  run_timers();
  EXPECT_TRUE(received(*p1).empty());
  run_timers();
  EXPECT_EQ(received(*p1), std::vector<std::string>{"gmsg Hurry!"});
  EXPECT_EQ(received(*p2), std::vector<std::string>{"gmsg Hurry!"});
  EXPECT_EQ(channel->sd_phase, SD_ADDING);

  run_timers();
  EXPECT_TRUE(received(*p1).empty());
  say(*p1, "pause 1 1");
  EXPECT_EQ(received(*p1), std::vector<std::string>{"pause 1"});
  EXPECT_EQ(received(*p2), std::vector<std::string>{"pause 1"});
  for (int i = 0; i < 5; ++i) run_timers();
  EXPECT_TRUE(received(*p1).empty());
  EXPECT_EQ(channel->sd_countdown, 1);

  say(*p1, "pause 0 1");
  received(*p1);
  received(*p2);
  run_timers();
  EXPECT_EQ(received(*p1), lines);
  EXPECT_EQ(received(*p2), lines);
  run_timers();
  run_timers();
  EXPECT_EQ(received(*p2), lines);
  EXPECT_TRUE(received(*waiting).empty());
}

// Members who are not in the game (entered during it, or lost) get every step too.
TEST_F(SuddenDeathTest, WatchersAreToldAsWell) {
  Client& late = add_member(*channel, "Late", 4);  // entered during the game
  p2->play_state = PLAY_LOST;
  run_timers();
  run_timers();
  for (Client* member : {p1, p2, &late}) {
    EXPECT_EQ(received(*member), std::vector<std::string>{"gmsg Hurry!"});
  }
}

// A won game leaves the phase adding lines; a later start without a time-out must
// not pick that up, and a channel that never had one never sees sudden death.
TEST_F(SuddenDeathTest, NoneWithoutATimeoutEvenAfterAGameThatWasAddingLines) {
  run_timers();
  run_timers();
  run_timers();
  run_timers();
  ASSERT_EQ(channel->sd_phase, SD_ADDING);
  say(*p2, "playerlost 2");
  ASSERT_EQ(channel->game_state, GAME_STOPPED);
  channel->settings.sd_timeout = 0;
  say(*p1, "startgame 1 1");
  ASSERT_EQ(channel->game_state, GAME_RUNNING);
  received(*p1);
  for (int i = 0; i < 40; ++i) run_timers();
  EXPECT_TRUE(received(*p1).empty());
}

TEST_F(SuddenDeathTest, NoLinesWhenTheSettingIsZeroOrLessAndNoneOnceStopped) {
  channel->settings.sd_lines_per_add = -4;
  channel->settings.sd_secs_between_lines = 1;
  run_timers();
  run_timers();
  EXPECT_EQ(received(*p1), std::vector<std::string>{"gmsg Hurry!"});
  run_timers();
  run_timers();
  EXPECT_TRUE(received(*p1).empty());

  channel->settings.sd_lines_per_add = 1;
  say(*p1, "startgame 0 1");
  received(*p1);
  for (int i = 0; i < 4; ++i) run_timers();
  EXPECT_TRUE(received(*p1).empty());
}

}  // namespace

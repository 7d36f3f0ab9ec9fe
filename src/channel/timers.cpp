// The one-second timer. Every client is counted down exactly once per tick, also when
// a time-out removes a client or deletes its channel during the walk: the walk always
// holds the next position before a removal, so it never restarts or recounts.
#include "channel/timers.h"

#include <algorithm>
#include <climits>

#include "channel/departure.h"
#include "channel/messages.h"
#include "core/log.h"
#include "net/socket_table.h"

namespace {

// A step never queues more lines than this per member, whatever the setting says:
// no client needs more, and a huge setting must not flood the output queues.
constexpr int SD_LINES_PER_STEP_MAX = 1000;

bool can_time_out(const Client& client) {
  return client.state == STATE_INIT || client.state == STATE_TEAM || client.state == STATE_CHANNEL;
}

// Counts the client down; true when its time has just run out.
bool count_down(Client& client) {
  if (client.idle_left < 0) return false;  // negative time-outs never expire
  if (client.idle_left > 0) --client.idle_left;
  return client.idle_left == 0 && can_time_out(client);
}

void time_out(Client& client) {
  log_msg(4, LOG_TIMED_OUT, client.channel->name.c_str(), client.nick.c_str());
  Tprintf(client.fd, MSG_TIMED_OUT, BYTE_TIMED_OUT);
  kill_socket(client.fd);
  remove_client(client);
}

void run_idle_timeouts() {
  for (auto channel_it = channel_list.begin(); channel_it != channel_list.end();) {
    Channel& channel = **channel_it++;  // a time-out may delete this channel
    for (auto member_it = channel.members.begin(); member_it != channel.members.end();) {
      Client& member = **member_it++;
      // Removing the last member may free the channel with its list: decide before.
      const bool last = member_it == channel.members.end();
      if (count_down(member)) time_out(member);
      if (last) break;
    }
  }
}

void sudden_death_step(Channel& channel) {
  const int lines = std::min(channel.settings.sd_lines_per_add, SD_LINES_PER_STEP_MAX);
  for (const auto& member : channel.members) {
    if (member->state != STATE_CHANNEL) continue;
    if (channel.sd_phase == SD_WAITING) {
      Tprintf(member->fd, MSG_GMSG, channel.settings.sd_message.c_str());
    } else {
      for (int i = 0; i < lines; ++i) Tprintf(member->fd, MSG_SUDDEN_DEATH_LINE);
    }
  }
  channel.sd_countdown = channel.settings.sd_secs_between_lines;
  channel.sd_phase = SD_ADDING;
}

void run_sudden_death() {
  for (const auto& channel : channel_list) {
    if (channel->game_state != GAME_RUNNING || channel->sd_phase == SD_OFF) continue;
    const int before = channel->sd_countdown;
    if (before > INT_MIN) channel->sd_countdown = before - 1;
    if (before > 1) continue;
    sudden_death_step(*channel);
  }
}

}  // namespace

void run_timers() {
  run_idle_timeouts();
  run_sudden_death();
}

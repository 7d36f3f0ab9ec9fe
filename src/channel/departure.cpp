// Departure of a client. The side count looks only at members still playing, so
// spectators and players who already lost cannot end a game between two live sides.
#include "channel/departure.h"

#include "channel/messages.h"
#include "core/log.h"
#include "core/text.h"
#include "net/socket_table.h"

SideCount count_sides(const Channel& channel, const Client* except) {
  SideCount result;
  std::string last_team;
  for (const auto& member : channel.members) {
    if (member.get() == except || member->state != STATE_CHANNEL ||
        member->play_state != PLAY_ACTIVE) {
      continue;
    }
    if (!same_text_ignoring_case(member->team, last_team)) {
      last_team = member->team;
    } else if (!last_team.empty()) {
      continue;  // same team as the member before: the same side
    }
    ++result.sides;
    result.candidate = member.get();
  }
  return result;
}

void end_game_without_winner(Channel& channel, const Client* except) {
  for (const auto& member : channel.members) {
    if (member.get() == except || member->state != STATE_CHANNEL) continue;
    Tprintf(member->fd, MSG_ENDGAME);
    member->play_state = PLAY_NONE;
    member->idle_left = server_settings.timeout_outgame;
  }
  channel.game_state = GAME_STOPPED;
}

void remove_client(Client& client) {
  Channel* channel = client.channel;
  if (channel == nullptr) return;

  if (client.state == STATE_CHANNEL) {
    log_msg(4, LOG_LOST_CONNECTION, channel->name.c_str(), client.nick.c_str(),
            client.host.c_str());
    for (const auto& member : channel->members) {
      if (member.get() != &client && member->state == STATE_CHANNEL) {
        Tprintf(member->fd, MSG_PLAYERLEAVE, client.playernum);
      }
    }
    if (count_sides(*channel, &client).sides <= 1 && channel->game_state == GAME_RUNNING &&
        client.play_state == PLAY_ACTIVE) {
      end_game_without_winner(*channel, &client);
    }
  }

  std::unique_ptr<Client> gone = unlink_client(*channel, client);
  if (channel->members.empty() && !channel->persistant) delete_channel(*channel);
}

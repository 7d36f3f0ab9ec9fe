// Admission: one accept (retried a bounded number of times while it would block), the
// ban test, then the channel choice by priority and free places. Nothing is changed
// before the connection is known to stay, so a refusal leaves every list as it was.
#include "login/admission.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "config/ban_list.h"
#include "config/settings.h"
#include "core/log.h"
#include "login/messages.h"
#include "net/listener.h"
#include "net/socket_table.h"

namespace {

// Number 1 is never used: the first default channel has no number.
constexpr int FIRST_CHANNEL_NUMBER = 2;

std::string numbered_name(int number) {
  char name[CHANNEL_NAME_MAX + 16];
  std::snprintf(name, sizeof name, NUMBERED_CHANNEL_NAME, DEFAULT_CHANNEL_NAME, number);
  return name;
}

}  // namespace

Channel* choose_channel() {
  Channel* best = nullptr;
  for (const auto& channel : channel_list) {
    if (best != nullptr && channel->priority <= best->priority) continue;
    if (count_players(*channel) < channel->maxplayers && channel->priority != 0) {
      best = channel.get();
    }
  }
  return best;
}

std::string free_default_channel_name() {
  std::string name = DEFAULT_CHANNEL_NAME;
  for (int number = FIRST_CHANNEL_NUMBER; find_channel(name) != nullptr; ++number) {
    name = numbered_name(number);
  }
  return name;
}

void admit_connection(Client& listener) {
  auto client = std::make_unique<Client>();
  std::string host;
  std::uint64_t address = 0;
  int fd = -1;
  // The select loop reports a connection that is still pending on a later pass.
  for (int attempt = 0; attempt < ACCEPT_TRIES; ++attempt) {
    fd = accept_connection(listener.fd, host, address);
    if (fd >= 0 || errno != EAGAIN) break;
  }
  Channel* channel = choose_channel();

  client->fd = fd;
  client->address = address;
  client->port = listener.port;
  client->host = (host.empty() ? dotted_address(address) : host).substr(0, HOST_MAX);
  client->nick = "???";
  client->field = Field{};
  client->play_state = PLAY_NONE;
  client->idle_left = server_settings.timeout_outgame;
  client->level = 1;

  if (fd < 0) {
    log_msg(4, LOG_ACCEPT_FAILED, host.c_str());
    kill_socket(fd);
    return;
  }
  if (is_banned(client->address)) {
    Tprintf(fd, MSG_BANNED);
    kill_socket(fd);
    return;
  }
  if (channel == nullptr) {
    if (count_channels() >= server_settings.maxchannels) {
      log_msg(4, LOG_SERVER_FULL);
      Tprintf(fd, MSG_SERVER_FULL);
      kill_socket(fd);
      return;
    }
    channel = &create_channel(free_default_channel_name());
  }

  Client& placed = link_client(*channel, std::move(client));
  placed.state = STATE_INIT;
  placed.nick = "???";
  placed.field = Field{};
  log_msg(9, LOG_INCOMING, placed.host.c_str());
}

// The global lists and their operations. An index by descriptor keeps the lookup of
// a line's owner constant-time; every other walk follows the lists in their order,
// because that order is visible on the wire.
#include "channel/records.h"

#include <vector>

#include "core/text.h"

ChannelList channel_list;
MemberList listener_list;

namespace {

std::vector<Client*> by_fd;

void index_client(Client& client) {
  if (client.fd < 0) return;
  if (static_cast<std::size_t>(client.fd) >= by_fd.size()) by_fd.resize(client.fd + 1, nullptr);
  by_fd[client.fd] = &client;
}

void unindex_client(const Client& client) {
  if (client.fd >= 0 && static_cast<std::size_t>(client.fd) < by_fd.size() &&
      by_fd[client.fd] == &client) {
    by_fd[client.fd] = nullptr;
  }
}

std::unique_ptr<Channel> new_channel(std::string_view name) {
  auto channel = std::make_unique<Channel>();
  channel->name.assign(name.substr(0, CHANNEL_NAME_MAX));
  channel->settings = server_settings.channel_defaults;
  return channel;
}

}  // namespace

void reset_world() {
  channel_list.clear();
  listener_list.clear();
  by_fd.clear();
}

Client* find_client_by_fd(int fd) {
  if (fd < 0 || static_cast<std::size_t>(fd) >= by_fd.size()) return nullptr;
  return by_fd[fd];
}

int count_players(const Channel& channel) {
  int n = 0;
  for (const auto& member : channel.members) n += member->is_player() ? 1 : 0;
  return n;
}

Client* find_player(const Channel& channel, int playernum) {
  for (const auto& member : channel.members) {
    if (member->is_player() && member->playernum == playernum) return member.get();
  }
  return nullptr;
}

int count_channels() { return static_cast<int>(channel_list.size()); }

Channel* channel_at(int n) {
  if (n < 1) return nullptr;
  for (const auto& channel : channel_list) {
    if (--n == 0) return channel.get();
  }
  return nullptr;
}

Channel* find_channel(std::string_view name) {
  for (const auto& channel : channel_list) {
    if (same_text_ignoring_case(channel->name, name)) return channel.get();
  }
  return nullptr;
}

Client& link_client(Channel& channel, std::unique_ptr<Client> client) {
  client->channel = &channel;
  index_client(*client);
  channel.members.push_front(std::move(client));
  return *channel.members.front();
}

Client& link_listener(std::unique_ptr<Client> client) {
  client->channel = nullptr;
  index_client(*client);
  listener_list.push_front(std::move(client));
  return *listener_list.front();
}

std::unique_ptr<Client> unlink_client(Channel& channel, Client& client) {
  for (auto it = channel.members.begin(); it != channel.members.end(); ++it) {
    if (it->get() != &client) continue;
    std::unique_ptr<Client> owned = std::move(*it);
    channel.members.erase(it);
    owned->channel = nullptr;
    unindex_client(*owned);
    return owned;
  }
  return nullptr;
}

Channel& create_channel(std::string_view name) {
  channel_list.push_back(new_channel(name));
  return *channel_list.back();
}

Channel& create_preset_channel(std::string_view name) {
  auto channel = new_channel(name);
  channel->persistant = true;
  channel_list.push_front(std::move(channel));
  return *channel_list.front();
}

void delete_channel(Channel& channel) {
  for (const auto& member : channel.members) unindex_client(*member);
  for (auto it = channel_list.begin(); it != channel_list.end(); ++it) {
    if (it->get() == &channel) {
      channel_list.erase(it);
      return;
    }
  }
}

bool is_chanop(const Client& client) {
  if (client.channel == nullptr) return false;
  for (const auto& member : client.channel->members) {
    if (member.get() != &client && member->is_player() && member->playernum < client.playernum) {
      return false;
    }
  }
  return true;
}

int lowest_free_playernum(const Channel& channel, const Client* except) {
  for (int n = 1; n <= channel.maxplayers; ++n) {
    bool held = false;
    for (const auto& member : channel.members) {
      if (member.get() != except && member->is_player() && member->playernum == n) {
        held = true;
        break;
      }
    }
    if (!held) return n;
  }
  return 0;
}

// Client and channel records, their states and the global lists that own them.
// A channel owns its members (newest first); channel_list owns the channels in the
// order admission and every listing walk them. Records are only created and destroyed
// through the operations declared here and remove_client.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "config/settings.h"

constexpr int FIELD_WIDTH = 12;
constexpr int FIELD_HEIGHT = 22;
constexpr int FIELD_SIZE = FIELD_WIDTH * FIELD_HEIGHT;

constexpr std::size_t NICK_MAX = 30;
constexpr std::size_t TEAM_MAX = 30;
constexpr std::size_t HOST_MAX = 30;
constexpr std::size_t VERSION_MAX = 10;
constexpr std::size_t CHANNEL_NAME_MAX = 15;
constexpr std::size_t TOPIC_MAX = 30;

enum ClientState : std::uint8_t {
  STATE_LISTENER = 1,
  STATE_INIT = 2,
  STATE_TEAM = 3,
  STATE_CHANNEL = 4,
};

enum PlayState : std::uint8_t { PLAY_NONE = 0, PLAY_ACTIVE = 1, PLAY_LOST = 2 };

enum GameState : std::uint8_t { GAME_STOPPED = 1, GAME_RUNNING = 2, GAME_PAUSED = 3 };

enum SuddenDeathPhase : std::int32_t { SD_OFF = 0, SD_WAITING = 1, SD_ADDING = 2 };

// Result of a handler that may end its own client: the caller must not touch a
// client that was Removed.
enum class Outcome { Kept, Removed };

struct Channel;
using Field = std::array<std::uint8_t, FIELD_SIZE>;

struct Client {
  int fd = -1;
  std::uint64_t address = 0;
  int port = 0;
  std::string nick;
  std::string team;
  std::string host;
  std::string version;
  int playernum = 0;
  Field field{};
  PlayState play_state = PLAY_NONE;
  int idle_left = 0;
  int level = 1;
  Channel* channel = nullptr;
  ClientState state = STATE_INIT;

  bool is_player() const { return state == STATE_TEAM || state == STATE_CHANNEL; }
};

using MemberList = std::list<std::unique_ptr<Client>>;

struct Channel {
  std::string name;
  int priority = 50;
  int maxplayers = 6;
  GameState game_state = GAME_STOPPED;
  std::string topic;
  bool persistant = false;
  MemberList members;  // newest first
  int sd_countdown = 0;
  SuddenDeathPhase sd_phase = SD_OFF;
  ChannelSettings settings;

  bool game_in_progress() const {
    return game_state == GAME_RUNNING || game_state == GAME_PAUSED;
  }
};

using ChannelList = std::list<std::unique_ptr<Channel>>;

extern ChannelList channel_list;
extern MemberList listener_list;

// Empties both lists (start-up, and a fresh world for each test).
void reset_world();

Client* find_client_by_fd(int fd);
int count_players(const Channel& channel);
Client* find_player(const Channel& channel, int playernum);
int count_channels();
// The channel at position n of channel_list, counting from 1; null past the end.
Channel* channel_at(int n);
// The channel whose name equals `name` without regard to case.
Channel* find_channel(std::string_view name);

// Puts the client at the head of the member list and sets its channel.
Client& link_client(Channel& channel, std::unique_ptr<Client> client);
// Puts the listening record at the head of listener_list.
Client& link_listener(std::unique_ptr<Client> client);
// Takes the client out of the member list and hands back ownership (null when it
// was not there); its channel is cleared.
std::unique_ptr<Client> unlink_client(Channel& channel, Client& client);
// Appends a new channel with the defaults; the name is cut to 15 characters.
Channel& create_channel(std::string_view name);
// A preset channel from game.conf: persistant, put at the front of channel_list.
Channel& create_preset_channel(std::string_view name);
// Takes the channel out of channel_list and frees it; its members go with it.
void delete_channel(Channel& channel);

// The chanop rule: no player of the client's channel has a lower number.
bool is_chanop(const Client& client);
// Lowest number 1..maxplayers that no player of the channel other than `except`
// holds; 0 when there is none.
int lowest_free_playernum(const Channel& channel, const Client* except);

// The operator's settings: the global ServerSettings record with its channel_defaults,
// the per-channel ChannelSettings rules, their built-in defaults and the start-up
// checks. Everything reads server_settings in place; only the defaults, the
// game.conf reader and the game.secure reader write it.
#pragma once

#include <cstdint>
#include <string>

constexpr std::size_t OP_PASSWORD_MAX = 11;
constexpr std::size_t BINDIP_MAX = 15;
constexpr std::size_t PIDFILE_MAX = 79;
constexpr std::size_t SD_MESSAGE_MAX = 79;

inline constexpr const char* DEFAULT_SD_MESSAGE = "Time's up! It's SUDDEN DEATH MODE!";

struct ChannelSettings {
  std::int32_t starting_level = 1;
  std::int32_t lines_per_level = 2;
  std::int32_t level_increase = 1;
  std::int32_t lines_per_special = 1;
  std::int32_t special_added = 1;
  std::int32_t special_capacity = 18;
  std::int32_t classic_rules = 1;
  std::int32_t average_levels = 1;
  std::int32_t sd_timeout = 0;
  std::int32_t sd_lines_per_add = 1;
  std::int32_t sd_secs_between_lines = 30;
  std::string sd_message = DEFAULT_SD_MESSAGE;
  std::int32_t block_leftl = 14;
  std::int32_t block_leftz = 14;
  std::int32_t block_square = 15;
  std::int32_t block_rightl = 14;
  std::int32_t block_rightz = 14;
  std::int32_t block_halfcross = 14;
  std::int32_t block_line = 15;
  std::int32_t special_addline = 32;
  std::int32_t special_clearline = 18;
  std::int32_t special_nukefield = 1;
  std::int32_t special_randomclear = 11;
  std::int32_t special_switchfield = 3;
  std::int32_t special_clearspecial = 14;
  std::int32_t special_gravity = 1;
  std::int32_t special_quakefield = 6;
  std::int32_t special_blockbomb = 14;
  std::int32_t stripcolour = 1;
  std::int32_t serverannounce = 1;
  std::int32_t pingintercept = 1;

  bool operator==(const ChannelSettings&) const = default;
};

struct ServerSettings {
  std::string op_password;
  std::string bindip = "0.0.0.0";
  std::int32_t maxchannels = 1;
  ChannelSettings channel_defaults;
  std::int32_t timeout_ingame = 60;
  std::int32_t timeout_outgame = 1200;
  std::int32_t command_clear = 3;
  std::int32_t command_kick = 2;
  std::int32_t command_msg = 1;
  std::int32_t command_op = 1;
  std::int32_t command_winlist = 1;
  std::int32_t command_help = 1;
  std::int32_t command_list = 1;
  std::int32_t command_join = 1;
  std::int32_t command_who = 1;
  std::int32_t command_topic = 2;
  std::int32_t command_priority = 2;
  std::int32_t command_move = 2;
  std::int32_t command_set = 4;
  std::int32_t command_persistant = 3;
  std::int32_t command_save = 3;
  std::int32_t command_reset = 3;
  // Until the settings are loaded only the banner may reach the log.
  std::int32_t verbose = 0;
  std::string pidfile = "game.pid";
};

extern ServerSettings server_settings;

// Every field but op_password to its built-in default (verbose 4).
void set_default_settings();
// The message of the first start-up check that channel_defaults fail, or null.
const char* check_channel_defaults(const ChannelSettings& defaults);
// Ends the process through fatal_exit when a check fails.
void validate_settings();
// Defaults, then game.conf (written when missing), then the checks.
void load_settings();

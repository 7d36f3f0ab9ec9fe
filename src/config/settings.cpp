// Built-in defaults, the start-up checks on channel_defaults and load_settings.
// The checks run once, at start-up: /reset and channel sections are trusted as read.
#include "config/settings.h"

#include "config/game_conf.h"
#include "core/log.h"
#include "core/server.h"

ServerSettings server_settings;

void set_default_settings() {
  std::string password = std::move(server_settings.op_password);
  server_settings = ServerSettings{};
  server_settings.op_password = std::move(password);
  server_settings.verbose = 4;
}

const char* check_channel_defaults(const ChannelSettings& d) {
  auto in = [](std::int32_t v, std::int32_t lo, std::int32_t hi) { return v >= lo && v <= hi; };
  // Sums in 64 bits: values are read unchecked from game.conf.
  const std::int64_t blocks = std::int64_t{d.block_leftl} + d.block_leftz + d.block_square +
                              d.block_rightl + d.block_rightz + d.block_halfcross + d.block_line;
  const std::int64_t specials = std::int64_t{d.special_addline} + d.special_clearline +
                                d.special_nukefield + d.special_randomclear +
                                d.special_switchfield + d.special_clearspecial +
                                d.special_gravity + d.special_quakefield + d.special_blockbomb;
  if (blocks != 100) return "Block percentages MUST add up to 100%";
  if (specials != 100) return "Special percentages MUST add up to 100%";
  if (!in(d.starting_level, 1, 100)) return "Starting level must be in the range 1 to 100";
  if (!in(d.lines_per_level, 1, 100)) return "Lines per level must be in the range 1 to 100";
  if (!in(d.level_increase, 0, 50)) return "Level increase must be in the range 0 to 50";
  if (!in(d.lines_per_special, 1, 50)) return "Lines per special must be in the range 1 to 50";
  if (!in(d.special_added, 0, 50)) return "Specials added must be in the range 0 to 50";
  if (!in(d.special_capacity, 0, 18)) return "Special capacity must be in the range 0 to 18";
  if (!in(d.classic_rules, 0, 1)) return "Classic rules must be either 0 or 1";
  if (!in(d.average_levels, 0, 1)) return "Average player levels must be either 0 or 1";
  return nullptr;
}

void validate_settings() {
  if (const char* message = check_channel_defaults(server_settings.channel_defaults)) {
    fatal_exit(message);
  }
}

void load_settings() {
  set_default_settings();
  if (read_game_conf() < 0) {
    log_msg(4, "No game definitions found. Creating game.conf file with defaults.\n");
    if (write_game_conf() < 0) fatal_exit("Can't write game.conf. Check permissions!");
  }
  validate_settings();
}

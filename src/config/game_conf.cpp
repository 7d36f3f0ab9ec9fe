// game.conf in both directions. The reader lays key lines over server_settings,
// channel_defaults and the channels named by sections; the writer regenerates the
// whole file from memory (operator comments are not kept) and replaces it atomically.
#include "config/game_conf.h"

#include <string>
#include <string_view>

#include "channel/records.h"
#include "config/conf_lines.h"
#include "config/file_replace.h"
#include "config/settings.h"
#include "core/log.h"
#include "core/text.h"

namespace {

struct ServerNumberKey {
  const char* name;
  std::int32_t ServerSettings::*field;
};

struct ChannelNumberKey {
  const char* name;
  std::int32_t ChannelSettings::*field;
};

constexpr ServerNumberKey SERVER_NUMBER_KEYS[] = {
    {"maxchannels", &ServerSettings::maxchannels},
    {"timeout_ingame", &ServerSettings::timeout_ingame},
    {"timeout_outgame", &ServerSettings::timeout_outgame},
    {"verbose", &ServerSettings::verbose},
    {"command_clear", &ServerSettings::command_clear},
    {"command_kick", &ServerSettings::command_kick},
    {"command_msg", &ServerSettings::command_msg},
    {"command_op", &ServerSettings::command_op},
    {"command_winlist", &ServerSettings::command_winlist},
    {"command_help", &ServerSettings::command_help},
    {"command_list", &ServerSettings::command_list},
    {"command_join", &ServerSettings::command_join},
    {"command_who", &ServerSettings::command_who},
    {"command_topic", &ServerSettings::command_topic},
    {"command_priority", &ServerSettings::command_priority},
    {"command_move", &ServerSettings::command_move},
    {"command_set", &ServerSettings::command_set},
    {"command_persistant", &ServerSettings::command_persistant},
    {"command_save", &ServerSettings::command_save},
    {"command_reset", &ServerSettings::command_reset},
};

constexpr ChannelNumberKey CHANNEL_NUMBER_KEYS[] = {
    {"starting_level", &ChannelSettings::starting_level},
    {"lines_per_level", &ChannelSettings::lines_per_level},
    {"level_increase", &ChannelSettings::level_increase},
    {"lines_per_special", &ChannelSettings::lines_per_special},
    {"special_added", &ChannelSettings::special_added},
    {"special_capacity", &ChannelSettings::special_capacity},
    {"classic_rules", &ChannelSettings::classic_rules},
    {"average_levels", &ChannelSettings::average_levels},
    {"sd_timeout", &ChannelSettings::sd_timeout},
    {"sd_lines_per_add", &ChannelSettings::sd_lines_per_add},
    {"sd_secs_between_lines", &ChannelSettings::sd_secs_between_lines},
    {"block_leftl", &ChannelSettings::block_leftl},
    {"block_leftz", &ChannelSettings::block_leftz},
    {"block_square", &ChannelSettings::block_square},
    {"block_rightl", &ChannelSettings::block_rightl},
    {"block_rightz", &ChannelSettings::block_rightz},
    {"block_halfcross", &ChannelSettings::block_halfcross},
    {"block_line", &ChannelSettings::block_line},
    {"special_addline", &ChannelSettings::special_addline},
    {"special_clearline", &ChannelSettings::special_clearline},
    {"special_nukefield", &ChannelSettings::special_nukefield},
    {"special_randomclear", &ChannelSettings::special_randomclear},
    {"special_switchfield", &ChannelSettings::special_switchfield},
    {"special_clearspecial", &ChannelSettings::special_clearspecial},
    {"special_gravity", &ChannelSettings::special_gravity},
    {"special_quakefield", &ChannelSettings::special_quakefield},
    {"special_blockbomb", &ChannelSettings::special_blockbomb},
    {"stripcolour", &ChannelSettings::stripcolour},
    {"serverannounce", &ChannelSettings::serverannounce},
    {"pingintercept", &ChannelSettings::pingintercept},
};

void set_text(std::string& field, std::string_view value, std::size_t cut) {
  field.assign(value.substr(0, cut));
}

bool apply_server_key(const ConfLine& line) {
  if (same_text_ignoring_case(line.key, "pidfile")) {
    set_text(server_settings.pidfile, line.value, PIDFILE_MAX);
    return true;
  }
  if (same_text_ignoring_case(line.key, "bindip")) {
    set_text(server_settings.bindip, line.value, BINDIP_MAX);
    return true;
  }
  for (const auto& key : SERVER_NUMBER_KEYS) {
    if (same_text_ignoring_case(line.key, key.name)) {
      server_settings.*key.field = conf_number(line.value);
      return true;
    }
  }
  return false;
}

bool apply_channel_key(const ConfLine& line, ChannelSettings& settings) {
  if (same_text_ignoring_case(line.key, "sd_message")) {
    set_text(settings.sd_message, line.value, SD_MESSAGE_MAX);
    return true;
  }
  for (const auto& key : CHANNEL_NUMBER_KEYS) {
    if (same_text_ignoring_case(line.key, key.name)) {
      settings.*key.field = conf_number(line.value);
      return true;
    }
  }
  return false;
}

// The section keys; outside a section they are recognised and ignored.
bool apply_section_key(const ConfLine& line, Channel* section) {
  if (same_text_ignoring_case(line.key, "maxplayers")) {
    if (section != nullptr) section->maxplayers = conf_number(line.value);
    return true;
  }
  if (same_text_ignoring_case(line.key, "priority")) {
    if (section != nullptr) section->priority = conf_number(line.value);
    return true;
  }
  if (same_text_ignoring_case(line.key, "topic")) {
    if (section != nullptr) set_text(section->topic, line.value, TOPIC_MAX);
    return true;
  }
  return false;
}

// A header names an existing channel (whatever its letter case, compared in the cut
// form a channel name has) or creates a preset channel at the front of the list.
Channel& open_section(std::string_view section_name) {
  const std::string_view name = section_name.substr(0, CHANNEL_NAME_MAX);
  if (Channel* existing = find_channel(name)) return *existing;
  return create_preset_channel(name);
}

void apply_conf_line(const ConfLine& line, Channel*& section) {
  if (line.is_section) {
    section = &open_section(line.name);
    return;
  }
  ChannelSettings& settings =
      section != nullptr ? section->settings : server_settings.channel_defaults;
  if (apply_server_key(line) || apply_channel_key(line, settings) ||
      apply_section_key(line, section)) {
    return;
  }
  log_msg(2, "%s: Unknown Identifier: %s\n", GAME_CONF_FILE, line.text.c_str());
}

// ---- writing ----

void add(std::string& out, std::string_view text) { out.append(text); }

void add_value(std::string& out, std::string_view key, std::int32_t value) {
  out.append(key).append("=").append(std::to_string(value)).append("\n");
}

// Text as a C string shows it: up to a NUL byte, should one ever get in.
std::string_view shown(const std::string& text) { return text.c_str(); }

void add_value(std::string& out, std::string_view key, const std::string& value) {
  out.append(key).append("=").append(shown(value)).append("\n");
}

void add_header(std::string& out) {
  add(out, "# Lineblox (linux) Game configuration file\n");
  add(out, "\n");
  add(out, "# This file contains configuration for Lineblox, and will be autocreated\n");
  add(out, "# with default values if it does not exist.\n");
  add(out, "# Each configuration value consists of a TAG name, followed by an equal sign\n");
  add(out, "# and a value. IE:\n");
  add(out, "#      starting_level=1\n");
  add(out, "# Any text after a # is ignored, and can be used as comments.\n");
  add(out, "\n");
}

void add_server_settings(std::string& out) {
  const ServerSettings& s = server_settings;
  add(out, "# pidfile [game.pid] - Where should the Process ID be written\n");
  add_value(out, "pidfile", s.pidfile);
  add(out, "\n");
  add(out, "# bindip [0.0.0.0] - What IP should server be bound to (0.0.0.0 means all)\n");
  add_value(out, "bindip", s.bindip);
  add(out, "\n");
  add(out, "# maxchannels [1] - How many channels should be available on server\n");
  add_value(out, "maxchannels", s.maxchannels);
  add(out, "\n");
  add(out,
      "# timeout_ingame [60] - How many seconds of no activity during a game before timeout "
      "occurs\n");
  add_value(out, "timeout_ingame", s.timeout_ingame);
  add(out, "\n");
  add(out,
      "# timeout_outgame [1200] - How many seconds of no activity out of game before timeout "
      "occurs\n");
  add_value(out, "timeout_outgame", s.timeout_outgame);
  add(out, "\n");
  add(out, "# verbose [4] - How verbose the logs should be. 0=critical, 10=noisy\n");
  add_value(out, "verbose", s.verbose);
  add(out, "\n\n");
}

void add_channel_defaults(std::string& out) {
  const ChannelSettings& d = server_settings.channel_defaults;
  add(out, "######## DEFAULT SETTINGS ################\n");
  add(out, "# Settings under here will be used by default in\n");
  add(out, "# any new channels created.\n");
  add(out, "\n");
  add(out, "# serverannounce [1] - Server Announces winners?\n");
  add_value(out, "serverannounce", d.serverannounce);
  add(out, "\n");
  add(out, "# pingintercept [1] - Intercept pings in game messages?\n");
  add_value(out, "pingintercept", d.pingintercept);
  add(out, "\n");
  add(out, "# stripcolour [1] - Strip colour from game messages?\n");
  add_value(out, "stripcolour", d.stripcolour);
  add(out, "\n");
  add(out, "# starting_level [1] - What level each player starts at\n");
  add_value(out, "starting_level", d.starting_level);
  add(out, "\n");
  add(out, "# lines_per_level [2] - How many lines to make before player level increases\n");
  add_value(out, "lines_per_level", d.lines_per_level);
  add(out, "\n");
  add(out, "# level_increase [1] - Number of levels to increase each time\n");
  add_value(out, "level_increase", d.level_increase);
  add(out, "\n");
  add(out, "# lines_per_special [1] - Lines to make to get a special block\n");
  add_value(out, "lines_per_special", d.lines_per_special);
  add(out, "\n");
  add(out, "# special_added [1] - Number of special blocks added each time\n");
  add_value(out, "special_added", d.special_added);
  add(out, "\n");
  add(out, "# special_capacity [18] - Capacity of Special block inventory\n");
  add_value(out, "special_capacity", d.special_capacity);
  add(out, "\n");
  add(out, "# classic_rules [1] - Play by classic rules?\n");
  add_value(out, "classic_rules", d.classic_rules);
  add(out, "\n");
  add(out, "# average_levels [1] - Average together all player's game level?\n");
  add_value(out, "average_levels", d.average_levels);
  add(out, "\n");
  add(out,
      "# sd_timeout [0] - Sudden death timeout. After this many secs, server will add lines. "
      "0=disable\n");
  add_value(out, "sd_timeout", d.sd_timeout);
  add(out, "\n");
  add(out, "# sd_lines_per_add [1] - Number of lines server adds each time\n");
  add_value(out, "sd_lines_per_add", d.sd_lines_per_add);
  add(out, "\n");
  add(out, "# sd_secs_between_lines [30] - Number of secs to wait between adding each line\n");
  add_value(out, "sd_secs_between_lines", d.sd_secs_between_lines);
  add(out, "\n");
  add(out,
      "#sd_message [Time's up! It's SUDDEN DEATH MODE!] - Message to display when "
      "suddendeath triggers\n");
  add_value(out, "sd_message", d.sd_message);
  add(out, "\n");
}

void add_command_levels(std::string& out) {
  const ServerSettings& s = server_settings;
  add(out, "# command_xxxxx rules. These set permissions to /commands in the partline\n");
  add(out, "#    For all, the following apply:\n");
  add(out, "#           0 = Disable command for anyone\n");
  add(out, "#           1 = Enable anyone to use command\n");
  add(out, "#           2 = Enable command only for people who are chanop or better\n");
  add(out, "#           3 = Enable command ONLY for authenticated ops (/op)\n");
  add(out, "#    Special Case:\n");
  add(out, "#    join   4 = Can join other channels. Can't create new channel (unless authop)\n");
  add(out,
      "#    set    4 = Chanop can only modify settings of NON-preset channels (unless "
      "authop)\n");
  add(out, "#\n");
  add_value(out, "command_help", s.command_help);
  add_value(out, "command_clear", s.command_clear);
  add_value(out, "command_kick", s.command_kick);
  add_value(out, "command_msg", s.command_msg);
  add_value(out, "command_op", s.command_op);
  add_value(out, "command_list", s.command_list);
  add_value(out, "command_join", s.command_join);
  add_value(out, "command_who", s.command_who);
  add_value(out, "command_topic", s.command_topic);
  add_value(out, "command_priority", s.command_priority);
  add_value(out, "command_move", s.command_move);
  add_value(out, "command_winlist", s.command_winlist);
  add_value(out, "command_set", s.command_set);
  add_value(out, "command_persistant", s.command_persistant);
  add_value(out, "command_save", s.command_save);
  add_value(out, "command_reset", s.command_reset);
  add(out, "\n\n");
}

void add_block_values(std::string& out, const ChannelSettings& c) {
  add_value(out, "block_leftl", c.block_leftl);
  add_value(out, "block_leftz", c.block_leftz);
  add_value(out, "block_square", c.block_square);
  add_value(out, "block_rightl", c.block_rightl);
  add_value(out, "block_rightz", c.block_rightz);
  add_value(out, "block_halfcross", c.block_halfcross);
  add_value(out, "block_line", c.block_line);
}

void add_special_values(std::string& out, const ChannelSettings& c) {
  add_value(out, "special_addline", c.special_addline);
  add_value(out, "special_clearline", c.special_clearline);
  add_value(out, "special_nukefield", c.special_nukefield);
  add_value(out, "special_randomclear", c.special_randomclear);
  add_value(out, "special_switchfield", c.special_switchfield);
  add_value(out, "special_clearspecial", c.special_clearspecial);
  add_value(out, "special_gravity", c.special_gravity);
  add_value(out, "special_quakefield", c.special_quakefield);
  add_value(out, "special_blockbomb", c.special_blockbomb);
}

void add_percentages(std::string& out) {
  const ChannelSettings& d = server_settings.channel_defaults;
  add(out, "# BLOCK OCCURANCY [Percentage value 0-100]. Must add up to 100\n");
  add_block_values(out, d);
  add(out, "\n\n");
  add(out, "# SPECIAL BLOCK OCCURANCY [Percentage value 0-100]. Must add up to 100\n");
  add_special_values(out, d);
  add(out, "\n\n");
}

void add_custom_channels_heading(std::string& out) {
  add(out, "################ CUSTOM CHANNELS ###########\n");
  add(out, "# Below exists (if any) definitions of preset non-removable\n");
  add(out, "# channels. They exist in the following form:\n");
  add(out, "#  [CHANNELNAME]  # Note NO # in front of name.\n");
  add(out, "#  maxplayers=6   # Number of players allowed in (6max)\n");
  add(out, "#  topic=My Topic # The channel Topic\n");
  add(out, "#  priority=50    # Priority of channel\n");
  add(out, "#  block_halfcross=12 #etc... any of the default options here\n");
  add(out, "#\n");
}

// Numbers written only where the channel departs from the defaults, in file order.
void add_if_differs(std::string& out, const ChannelSettings& c, const ChannelSettings& d,
                    const char* key, std::int32_t ChannelSettings::*field) {
  if (c.*field != d.*field) add_value(out, key, c.*field);
}

void add_channel_section(std::string& out, const Channel& channel) {
  const ChannelSettings& c = channel.settings;
  const ChannelSettings& d = server_settings.channel_defaults;
  out.append("[").append(shown(channel.name)).append("]\n");
  add_value(out, "maxplayers", channel.maxplayers);
  add_value(out, "topic", channel.topic);
  add_value(out, "priority", channel.priority);
  add_if_differs(out, c, d, "starting_level", &ChannelSettings::starting_level);
  add_if_differs(out, c, d, "lines_per_level", &ChannelSettings::lines_per_level);
  add_if_differs(out, c, d, "level_increase", &ChannelSettings::level_increase);
  add_if_differs(out, c, d, "lines_per_special", &ChannelSettings::lines_per_special);
  add_if_differs(out, c, d, "special_added", &ChannelSettings::special_added);
  add_if_differs(out, c, d, "special_capacity", &ChannelSettings::special_capacity);
  add_if_differs(out, c, d, "classic_rules", &ChannelSettings::classic_rules);
  add_if_differs(out, c, d, "average_levels", &ChannelSettings::average_levels);
  add_if_differs(out, c, d, "sd_timeout", &ChannelSettings::sd_timeout);
  add_if_differs(out, c, d, "sd_lines_per_add", &ChannelSettings::sd_lines_per_add);
  add_if_differs(out, c, d, "sd_secs_between_lines", &ChannelSettings::sd_secs_between_lines);
  // Compared exactly: a message that differs only in letter case is still the
  // operator's own and must survive a save.
  if (c.sd_message != d.sd_message) add_value(out, "sd_message", c.sd_message);
  add_block_values(out, c);
  add_special_values(out, c);
  add_if_differs(out, c, d, "stripcolour", &ChannelSettings::stripcolour);
  add_if_differs(out, c, d, "serverannounce", &ChannelSettings::serverannounce);
  add_if_differs(out, c, d, "pingintercept", &ChannelSettings::pingintercept);
  add(out, "\n");
}

std::string game_conf_text() {
  std::string out;
  add_header(out);
  add_server_settings(out);
  add_channel_defaults(out);
  add_command_levels(out);
  add_percentages(out);
  add_custom_channels_heading(out);
  for (const auto& channel : channel_list) {
    if (channel->persistant) add_channel_section(out, *channel);
  }
  add(out, "# End of File\n");
  return out;
}

}  // namespace

int read_game_conf() {
  std::string text;
  if (!read_whole_file(GAME_CONF_FILE, text)) return -1;
  // "[]" names nothing: the parser drops it, so the section before it goes on.
  Channel* section = nullptr;
  for (const ConfLine& line : parse_conf_text(text, ConfGrammar{.sections = true})) {
    apply_conf_line(line, section);
  }
  log_msg(3, "Read game configuration from %s\n", GAME_CONF_FILE);
  return 0;
}

int write_game_conf() {
  if (!replace_file(GAME_CONF_FILE, game_conf_text())) return -1;
  log_msg(3, "Wrote new game configuration to %s\n", GAME_CONF_FILE);
  return 0;
}

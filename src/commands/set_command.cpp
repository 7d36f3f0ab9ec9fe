// /set: shows and changes the game settings of the sender's own channel, one group of
// values per subcommand. A group is checked as a whole and stored only when every
// value passes; the sender alone is answered, nothing is logged or announced.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "commands/arguments.h"
#include "core/text.h"
#include "commands/handlers.h"
#include "commands/texts.h"
#include "net/socket_table.h"

using namespace commands;

namespace {

constexpr std::size_t MAX_VALUES = 9;
constexpr std::int64_t PERCENT_TOTAL = 100;
using Values = std::array<int, MAX_VALUES>;
using SettingField = std::int32_t ChannelSettings::*;

// Values past a group's own count are zero, so the whole array can be summed.
bool percentages(const Values& v) {
  std::int64_t total = 0;
  for (const int value : v) total += std::llabs(std::int64_t{value});
  return total == PERCENT_TOTAL;
}

bool flag(int v) { return v == 0 || v == 1; }

bool sudden_death_ok(const Values& v) { return v[0] >= 0 && v[1] >= 0 && v[2] >= 1; }

bool rules_ok(const Values& v) {
  return v[0] >= 0 && v[0] <= 99 && v[1] >= 1 && v[2] >= 1 && v[3] >= 1 && v[4] >= 0 &&
         v[5] >= 1 && v[5] <= 18 && flag(v[6]) && flag(v[7]);
}

bool misc_ok(const Values& v) { return flag(v[0]) && flag(v[1]) && flag(v[2]); }

struct NumberGroup {
  const char* name;
  const char* about;
  std::span<const SetValueText> values;  // one per field
  const char* example;
  std::array<SettingField, MAX_VALUES> fields;
  bool (*accept)(const Values&);
  const char* error;
  bool percent;  // stored as absolute values; help reminds of the total
};

using CS = ChannelSettings;

const NumberGroup NUMBER_GROUPS[] = {
    {"BLOCK", TXT_SET_BLOCK_ABOUT, TXT_SET_BLOCK_VALUES, TXT_SET_BLOCK_EXAMPLE,
     {&CS::block_leftl, &CS::block_leftz, &CS::block_square, &CS::block_rightl, &CS::block_rightz,
      &CS::block_halfcross, &CS::block_line},
     percentages, TXT_SET_SUM_100, true},
    {"SPECIAL", TXT_SET_SPECIAL_ABOUT, TXT_SET_SPECIAL_VALUES, TXT_SET_SPECIAL_EXAMPLE,
     {&CS::special_addline, &CS::special_clearline, &CS::special_nukefield,
      &CS::special_randomclear, &CS::special_switchfield, &CS::special_clearspecial,
      &CS::special_gravity, &CS::special_quakefield, &CS::special_blockbomb},
     percentages, TXT_SET_SUM_100, true},
    {"SUDDENDEATH", TXT_SET_SUDDENDEATH_ABOUT, TXT_SET_SUDDENDEATH_VALUES,
     TXT_SET_SUDDENDEATH_EXAMPLE,
     {&CS::sd_timeout, &CS::sd_lines_per_add, &CS::sd_secs_between_lines}, sudden_death_ok,
     TXT_SET_INVALID_CAPITAL, false},
    {"RULES", TXT_SET_RULES_ABOUT, TXT_SET_RULES_VALUES, TXT_SET_RULES_EXAMPLE,
     {&CS::starting_level, &CS::lines_per_level, &CS::level_increase, &CS::lines_per_special,
      &CS::special_added, &CS::special_capacity, &CS::classic_rules, &CS::average_levels},
     rules_ok, TXT_SET_INVALID, false},
    {"MISC", TXT_SET_MISC_ABOUT, TXT_SET_MISC_VALUES, TXT_SET_MISC_EXAMPLE,
     {&CS::stripcolour, &CS::serverannounce, &CS::pingintercept}, misc_ok, TXT_SET_INVALID,
     false},
};

constexpr std::string_view SUDDENDEATHMSG = "SUDDENDEATHMSG";

void send_overview(int fd) {
  Tprintf(fd, TXT_SET_OVERVIEW_1, 23, 17);
  Tprintf(fd, TXT_SET_OVERVIEW_2, 17, 5, 20, 4, 5, 4);
  Tprintf(fd, TXT_SET_OVERVIEW_3, 17);
  for (const char* line : {TXT_SET_OVERVIEW_BLOCK, TXT_SET_OVERVIEW_SPECIAL,
                           TXT_SET_OVERVIEW_SUDDENDEATH, TXT_SET_OVERVIEW_SUDDENDEATHMSG,
                           TXT_SET_OVERVIEW_RULES, TXT_SET_OVERVIEW_MISC}) {
    Tprintf(fd, line, 5, 20, 5, 17);
  }
  Tprintf(fd, TXT_SET_OVERVIEW_LAST, 17, 5, 20, 17);
}

// Title, what the group sets and one line per value.
void send_help_head(int fd, const char* name, const char* about,
                    std::span<const SetValueText> values) {
  Tprintf(fd, TXT_SET_TITLE, 20, name);
  Tprintf(fd, about, 17);
  for (const SetValueText& value : values) {
    Tprintf(fd, TXT_SET_PARAMETER, 5, value.abbreviation, 17, value.meaning);
  }
}

void send_group_help(int fd, const NumberGroup& group, const ChannelSettings& settings) {
  send_help_head(fd, group.name, group.about, group.values);
  if (group.percent) Tprintf(fd, TXT_SET_ALL_PERCENT, 17);
  Tprintf(fd, TXT_SET_EXAMPLE, 17, 5, 20, group.name, 5, group.example);
  std::string current = TXT_SET_CURRENT_NUMBERS;
  for (std::size_t i = 0; i < group.values.size(); ++i) {
    current += ' ';
    current += std::to_string(settings.*group.fields[i]);
  }
  current += '\xff';
  Tsend(fd, current);
}

void set_group(int fd, const NumberGroup& group, ChannelSettings& settings,
               std::string_view text) {
  if (text.empty()) {
    send_group_help(fd, group, settings);
    return;
  }
  const std::size_t count = group.values.size();
  Values values{};
  std::size_t read = 0;
  for (; read < count; ++read) {
    const auto number = read_int(text);
    if (!number) break;
    values[read] = *number;
  }
  if (read < count) {
    Tprintf(fd, TXT_SET_NOT_ENOUGH, 17, 5, 20, group.name);
    return;
  }
  if (!group.accept(values)) {
    Tprintf(fd, group.error, 17);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    // Accepted percentages lie within -100..100, so the absolute value is safe.
    settings.*group.fields[i] = group.percent ? std::abs(values[i]) : values[i];
  }
  Tprintf(fd, TXT_SET_UPDATED, 17);
}

void set_sudden_death_message(int fd, ChannelSettings& settings, std::string_view text) {
  if (text.empty()) {
    send_help_head(fd, SUDDENDEATHMSG.data(), TXT_SET_SUDDENDEATHMSG_ABOUT,
                   TXT_SET_SUDDENDEATHMSG_VALUES);
    Tprintf(fd, TXT_SET_EXAMPLE, 17, 5, 20, SUDDENDEATHMSG.data(), 5,
            TXT_SET_SUDDENDEATHMSG_EXAMPLE);
    Tprintf(fd, TXT_SET_CURRENT_TEXT, settings.sd_message.c_str());
    return;
  }
  settings.sd_message.assign(text.substr(0, SD_MESSAGE_MAX));
  Tprintf(fd, TXT_SET_UPDATED, 17);
}

}  // namespace

Outcome handle_set(Client& sender, std::string_view text, std::string_view) {
  std::string_view rest = text;
  read_word(rest);  // the command itself
  const std::string_view subcommand = read_word(rest);
  const std::string_view values = skip_blanks(rest);
  ChannelSettings& settings = sender.channel->settings;

  if (same_text_ignoring_case(subcommand, SUDDENDEATHMSG)) {
    set_sudden_death_message(sender.fd, settings, values);
    return Outcome::Kept;
  }
  for (const NumberGroup& group : NUMBER_GROUPS) {
    if (same_text_ignoring_case(subcommand, group.name)) {
      set_group(sender.fd, group, settings, values);
      return Outcome::Kept;
    }
  }
  send_overview(sender.fd);
  return Outcome::Kept;
}

// game.conf: the reader's effect on settings and channels, the writer's exact bytes,
// the round trip, and the atomic replacement when writing fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "channel/records.h"
#include "config/game_conf.h"
#include "config/settings.h"
#include "support/config_files.h"
#include "unit/file_size_cap.h"
#include "unit/fixture.h"

namespace {

using config_files::DEFAULT_GAME_CONF;
using config_files::DEFAULT_GAME_CONF_HEAD;
using config_files::DEFAULT_PERCENTAGE_LINES;
using config_files::GAME_CONF_END;
using Lines = std::vector<std::string>;

class GameConfTest : public ServerStateTest {
 protected:
  // The texts of the "Unknown Identifier" entries in game.log, in order.
  static Lines unknown_identifiers() {
    const std::string marker = " game.conf: Unknown Identifier: ";
    const std::string log = read_file("game.log");
    Lines found;
    for (std::size_t at = log.find(marker); at != std::string::npos;
         at = log.find(marker, at + 1)) {
      const std::size_t start = at + marker.size();
      found.push_back(log.substr(start, log.find('\n', start) - start));
    }
    return found;
  }

  static std::vector<std::string> channel_names() {
    std::vector<std::string> names;
    for (const auto& channel : channel_list) names.push_back(channel->name);
    return names;
  }

  static const ChannelSettings& defaults() { return server_settings.channel_defaults; }
};

struct ReadCase {
  const char* what;
  std::string file;
  std::function<void()> check;
  Lines unknown = {};
};

TEST_F(GameConfTest, WhatEachLineDoes) {
  const std::string long_text(100, 'x');
  const ReadCase cases[] = {
      {"key case is ignored", "Starting_Level=5\n",
       [] { EXPECT_EQ(defaults().starting_level, 5); }},
      {"spaces and comment", "  starting_level = 5   # five\n",
       [] { EXPECT_EQ(defaults().starting_level, 5); }},
      {"key alone reads 0", "starting_level\n", [] { EXPECT_EQ(defaults().starting_level, 0); }},
      {"number with trailing text", "timeout_ingame=  -12abc\ntimeout_outgame=abc\n",
       [] {
         EXPECT_EQ(server_settings.timeout_ingame, -12);
         EXPECT_EQ(server_settings.timeout_outgame, 0);
       }},
      {"trailing spaces go, tab and CR stay",
       "sd_message=hi there   \n[A]\nsd_message=tab\t\n[B]\nsd_message=cr\r\n",
       [] {
         EXPECT_EQ(defaults().sd_message, "hi there");
         EXPECT_EQ(find_channel("A")->settings.sd_message, "tab\t");
         EXPECT_EQ(find_channel("B")->settings.sd_message, "cr\r");
       }},
      {"text values are cut",
       "pidfile=" + long_text + "\nbindip=" + long_text + "\nsd_message=" + long_text +
           "\n[A]\ntopic=" + long_text + "\n",
       [] {
         EXPECT_EQ(server_settings.pidfile, std::string(79, 'x'));
         EXPECT_EQ(server_settings.bindip, std::string(15, 'x'));
         EXPECT_EQ(defaults().sd_message, std::string(79, 'x'));
         EXPECT_EQ(find_channel("A")->topic, std::string(30, 'x'));
       }},
      {"section keys before any section are ignored silently",
       "maxplayers=4\ntopic=t\npriority=9\n",
       [] { EXPECT_TRUE(channel_list.empty()); }},
      {"sections are created in front: B before A", "[A]\n[B]\n",
       [] {
         EXPECT_EQ(channel_names(), (Lines{"B", "A"}));
         for (const auto& channel : channel_list) {
           EXPECT_TRUE(channel->persistant);
           EXPECT_EQ(channel->maxplayers, 6);
           EXPECT_EQ(channel->priority, 50);
           EXPECT_EQ(channel->topic, "");
           EXPECT_EQ(channel->settings, defaults());
         }
       }},
      {"defaults before a section, channel settings inside it",
       "special_capacity=10\nstarting_level=3\n[A]\nstarting_level=0\nblock_line=20\n"
       "maxplayers=4\ntopic=Fun # games\npriority=70\n",
       [] {
         EXPECT_EQ(defaults().starting_level, 3);
         EXPECT_EQ(defaults().block_line, 15);
         const Channel& a = *find_channel("A");
         EXPECT_EQ(a.settings.special_capacity, 10);  // copied when created
         EXPECT_EQ(a.settings.starting_level, 0);
         EXPECT_EQ(a.settings.block_line, 20);
         EXPECT_EQ(a.maxplayers, 4);
         EXPECT_EQ(a.topic, "Fun");
         EXPECT_EQ(a.priority, 70);
       }},
      {"server keys inside a section still set the server", "[A]\nverbose=7\ncommand_set=1\n",
       [] {
         EXPECT_EQ(server_settings.verbose, 7);
         EXPECT_EQ(server_settings.command_set, 1);
       }},
      {"repeated section, any case, gathers both parts",
       "[Lobby]\nmaxplayers=4\n[Other]\n[LOBBY]\ntopic=again\n",
       [] {
         EXPECT_EQ(channel_names(), (Lines{"Other", "Lobby"}));
         EXPECT_EQ(find_channel("Lobby")->maxplayers, 4);
         EXPECT_EQ(find_channel("Lobby")->topic, "again");
       }},
      {"long section names are cut to 15 and matched cut",
       "[abcdefghijklmnopqrstuvwxyz]\npriority=1\n[ABCDEFGHIJKLMNOxyz]\ntopic=t\n",
       [] {
         EXPECT_EQ(channel_names(), Lines{"abcdefghijklmno"});
         EXPECT_EQ(channel_list.front()->priority, 1);
         EXPECT_EQ(channel_list.front()->topic, "t");
       }},
      {"an empty header leaves the section as it was", "[A]\n[]\npriority=9\n",
       [] {
         EXPECT_EQ(channel_names(), Lines{"A"});
         EXPECT_EQ(find_channel("A")->priority, 9);
       }},
      {"512-character line is split", "sd_message=" + std::string(501, 'm') + "verbose=7\n",
       [] {
         EXPECT_EQ(defaults().sd_message, std::string(79, 'm'));
         EXPECT_EQ(server_settings.verbose, 7);
       }},
      {"CRLF header is no section", "[A]\r\nmaxplayers=3\r\n",
       [] { EXPECT_TRUE(channel_list.empty()); }, Lines{"[A]\r"}},
      {"op_password belongs to game.secure", "op_password=secret\n",
       [] { EXPECT_EQ(server_settings.op_password, ""); }, Lines{"op_password=secret"}},
      {"unknown keys, no '=', empty key, inside sections",
       "foo bar   # comment\n=5\n[A]\nfoo=1\n", [] {},
       Lines{"foo bar", "=5", "foo=1"}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    reset_world();
    set_default_settings();
    std::filesystem::remove("game.log");
    write_file("game.conf", c.file);
    ASSERT_EQ(read_game_conf(), 0);
    c.check();
    EXPECT_EQ(unknown_identifiers(), c.unknown);
  }
}

TEST_F(GameConfTest, ExistingChannelKeepsWhatTheSectionDoesNotName) {
  Channel& lobby = create_channel("lobby");
  lobby.settings.sd_timeout = 90;
  lobby.topic = "kept";
  write_file("game.conf", "[LOBBY]\npriority=7\nstarting_level=4\n");
  ASSERT_EQ(read_game_conf(), 0);
  ASSERT_EQ(count_channels(), 1);
  EXPECT_FALSE(lobby.persistant);
  EXPECT_EQ(lobby.priority, 7);
  EXPECT_EQ(lobby.settings.starting_level, 4);
  EXPECT_EQ(lobby.settings.sd_timeout, 90);
  EXPECT_EQ(lobby.topic, "kept");
}

TEST_F(GameConfTest, MissingFileChangesAndLogsNothing) {
  EXPECT_EQ(read_game_conf(), -1);
  EXPECT_EQ(server_settings.channel_defaults, ChannelSettings{});
  EXPECT_FALSE(file_exists("game.log"));
}

TEST_F(GameConfTest, ReadAndWriteAreLoggedAtLevelThree) {
  write_file("game.conf", "");
  ASSERT_EQ(read_game_conf(), 0);
  ASSERT_EQ(write_game_conf(), 0);
  const std::string log = read_file("game.log");
  EXPECT_NE(log.find(" Read game configuration from game.conf\n"), std::string::npos);
  EXPECT_NE(log.find(" Wrote new game configuration to game.conf\n"), std::string::npos);

  server_settings.verbose = 2;
  write_file("game.conf", "");
  std::filesystem::remove("game.log");
  ASSERT_EQ(read_game_conf(), 0);
  EXPECT_FALSE(file_exists("game.log"));
}

TEST_F(GameConfTest, DefaultFileByteForByte) {
  ASSERT_EQ(write_game_conf(), 0);
  EXPECT_EQ(read_file("game.conf"), DEFAULT_GAME_CONF);
}

TEST_F(GameConfTest, PresetChannelSectionsByteForByte) {
  server_settings.channel_defaults.block_line = 20;  // sections compare with these
  server_settings.channel_defaults.block_square = 10;

  create_preset_channel("Plain");
  Channel& changed = create_preset_channel("Changed");
  changed.maxplayers = 4;
  changed.topic = "Fun games";
  changed.priority = -3;
  ChannelSettings& c = changed.settings;
  c.starting_level = 3;
  c.sd_timeout = 60;
  c.sd_message = "Hurry!";
  c.block_leftl = 24;
  c.block_line = 10;
  c.stripcolour = 0;
  c.pingintercept = 0;
  Channel& cased = create_preset_channel("Cased");
  cased.settings.sd_message = "TIME'S UP! IT'S SUDDEN DEATH MODE!";
  create_channel("transient");  // not persistant: not written

  const std::string defaults_now =
      "block_leftl=14\nblock_leftz=14\nblock_square=10\nblock_rightl=14\nblock_rightz=14\n"
      "block_halfcross=14\nblock_line=20\n";
  const std::string specials =
      "special_addline=32\nspecial_clearline=18\nspecial_nukefield=1\nspecial_randomclear=11\n"
      "special_switchfield=3\nspecial_clearspecial=14\nspecial_gravity=1\n"
      "special_quakefield=6\nspecial_blockbomb=14\n";
  std::string expected_head = DEFAULT_GAME_CONF_HEAD;
  const std::string default_blocks =
      "block_leftl=14\nblock_leftz=14\nblock_square=15\nblock_rightl=14\nblock_rightz=14\n"
      "block_halfcross=14\nblock_line=15\n";
  expected_head.replace(expected_head.find(default_blocks), default_blocks.size(), defaults_now);

  const std::string expected =
      expected_head +
      "[Cased]\nmaxplayers=6\ntopic=\npriority=50\n"
      "sd_message=TIME'S UP! IT'S SUDDEN DEATH MODE!\n" +
      defaults_now + specials + "\n" +
      "[Changed]\nmaxplayers=4\ntopic=Fun games\npriority=-3\n"
      "starting_level=3\nsd_timeout=60\nsd_message=Hurry!\n"
      "block_leftl=24\nblock_leftz=14\nblock_square=10\nblock_rightl=14\nblock_rightz=14\n"
      "block_halfcross=14\nblock_line=10\n" +
      specials + "stripcolour=0\npingintercept=0\n\n" +
      "[Plain]\nmaxplayers=6\ntopic=\npriority=50\n" + defaults_now + specials + "\n" +
      GAME_CONF_END;
  ASSERT_EQ(write_game_conf(), 0);
  EXPECT_EQ(read_file("game.conf"), expected);
}

TEST_F(GameConfTest, WrittenDefaultsReadBackChangeNothing) {
  ASSERT_EQ(write_game_conf(), 0);
  const ServerSettings before = server_settings;
  ASSERT_EQ(read_game_conf(), 0);
  EXPECT_EQ(server_settings.channel_defaults, before.channel_defaults);
  EXPECT_EQ(read_file("game.conf"), DEFAULT_GAME_CONF);
  ASSERT_EQ(write_game_conf(), 0);
  EXPECT_EQ(read_file("game.conf"), DEFAULT_GAME_CONF);
  EXPECT_EQ(unknown_identifiers(), Lines{});
  EXPECT_TRUE(channel_list.empty());
}

TEST_F(GameConfTest, SaveThenResetKeepsSettingsAndChannels) {
  server_settings.verbose = 6;
  server_settings.pidfile = "run/server.pid";
  server_settings.command_reset = 0;
  server_settings.channel_defaults.sd_message = "Go go go";
  server_settings.channel_defaults.level_increase = -2;
  Channel& a = create_preset_channel("A");
  a.topic = "first";
  a.settings.serverannounce = 0;
  a.settings.sd_message = "go GO GO";
  create_preset_channel("B").maxplayers = 3;
  const ServerSettings saved = server_settings;
  ASSERT_EQ(write_game_conf(), 0);

  reset_world();
  set_default_settings();
  ASSERT_EQ(read_game_conf(), 0);
  EXPECT_EQ(server_settings.verbose, 6);
  EXPECT_EQ(server_settings.pidfile, "run/server.pid");
  EXPECT_EQ(server_settings.command_reset, 0);
  EXPECT_EQ(server_settings.channel_defaults, saved.channel_defaults);
  // Each section goes to the front as it is read, so the order turns round.
  EXPECT_EQ(channel_names(), (Lines{"A", "B"}));
  ChannelSettings expected_a = saved.channel_defaults;
  expected_a.serverannounce = 0;
  expected_a.sd_message = "go GO GO";
  EXPECT_EQ(find_channel("A")->settings, expected_a);
  EXPECT_EQ(find_channel("A")->topic, "first");
  EXPECT_EQ(find_channel("B")->maxplayers, 3);
  EXPECT_EQ(find_channel("B")->settings, saved.channel_defaults);
  EXPECT_EQ(unknown_identifiers(), Lines{});
}

// ---- a write that cannot complete leaves the old file ----

std::vector<std::string> directory_entries() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(GameConfTest, FailedWriteKeepsOldFile) {
  write_file("game.conf", "verbose=5\n");
  {
    FileSizeCap cap(512);
    EXPECT_EQ(write_game_conf(), -1);
  }
  EXPECT_EQ(read_file("game.conf"), "verbose=5\n");
  EXPECT_EQ(directory_entries(), Lines{"game.conf"});  // no temporary left, nothing logged
}

TEST_F(GameConfTest, UnreplaceableTargetFails) {
  std::filesystem::create_directory("game.conf");
  write_file("game.conf/keep", "x");
  EXPECT_EQ(write_game_conf(), -1);
  EXPECT_EQ(read_file("game.conf/keep"), "x");
  EXPECT_EQ(directory_entries(), Lines{"game.conf"});
}

TEST_F(GameConfTest, SymbolicLinkStaysALink) {
  std::filesystem::create_directory("conf");
  write_file("conf/real.conf", "old\n");
  std::filesystem::create_symlink("conf/real.conf", "game.conf");
  ASSERT_EQ(write_game_conf(), 0);
  EXPECT_TRUE(std::filesystem::is_symlink("game.conf"));
  EXPECT_EQ(read_file("conf/real.conf"), DEFAULT_GAME_CONF);
}

}  // namespace

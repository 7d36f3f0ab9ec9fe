// game.secure: the only key is op_password. The reader runs at start-up and at every
// /op, so edits apply without a restart; the server never writes a password itself,
// only the commented-out template when the file is missing.
#include "config/game_secure.h"

#include <string>

#include "config/conf_lines.h"
#include "config/file_replace.h"
#include "config/settings.h"
#include "core/log.h"
#include "core/text.h"

namespace {

constexpr const char* GAME_SECURE_TEMPLATE =
    "# Lineblox (linux) Security configuration file\n"
    "\n"
    "# This file contains security configuration for Lineblox, and by default will\n"
    "# be created with all values commented out. \n"
    "# Each configuration value consists of a TAG name, followed by an equal sign\n"
    "# and a value. IE:\n"
    "#      op_password=qz8opw\n"
    "# Any text after a # is ignored, and can be used as comments.\n"
    "\n"
    "# op_password [] - Typing /op <thispassword> will give player op status\n"
    "#op_password=bkej1chbv\n"
    "\n\n"
    "# End of File\n";

}  // namespace

int read_game_secure() {
  server_settings.op_password.clear();
  std::string text;
  if (!read_whole_file(GAME_SECURE_FILE, text)) return -1;
  const ConfGrammar grammar{.sections = false, .value_ends_at_space = true};
  for (const ConfLine& line : parse_conf_text(text, grammar)) {
    if (same_text_ignoring_case(line.key, "op_password")) {
      server_settings.op_password = line.value.substr(0, OP_PASSWORD_MAX);
    } else {
      log_msg(2, "%s: Unknown Identifier: %s\n", GAME_SECURE_FILE, line.text.c_str());
    }
  }
  log_msg(3, "Read security configuration from %s\n", GAME_SECURE_FILE);
  return 0;
}

int write_game_secure() {
  // Written in place rather than renamed over: a rename would also replace a file
  // that exists but that this process may neither read nor write.
  if (!write_new_file(GAME_SECURE_FILE, GAME_SECURE_TEMPLATE)) return -1;
  log_msg(3, "Wrote new security configuration to %s\n", GAME_SECURE_FILE);
  return 0;
}

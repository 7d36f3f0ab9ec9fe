// One fuzz entry point over every parser that reads bytes from outside: the first
// byte picks the parser, the rest is its input. Each target also checks the promises
// its parser makes (bounded lines, the field never written outside its 264 cells).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "channel/records.h"
#include "config/ban_list.h"
#include "config/conf_lines.h"
#include "config/settings.h"
#include "config/winlist.h"
#include "game/field.h"
#include "game/relay.h"
#include "login/login_decoder.h"
#include "login/prelogin.h"
#include "net/line_buffer.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void fuzz_line_buffer(std::string_view input) {
  LineBuffer buffer;
  // Chunks of at most one read, cut where the input says.
  while (!input.empty()) {
    const std::size_t size = 1 + static_cast<unsigned char>(input[0]) * 4;
    const std::string_view chunk = input.substr(1, std::min(size, READ_CHUNK));
    input.remove_prefix(std::min(input.size(), 1 + chunk.size()));
    while (buffer.has_line()) check(buffer.take_buffered_line().size() <= LINE_CUT);
    if (auto line = buffer.take_chunk(chunk)) check(!line->empty() && line->size() <= WORK_TEXT_MAX);
  }
}

void fuzz_login(std::string_view input) {
  std::string line(input);
  const std::string before = line;
  if (decode_login(line) != 0) {
    check(line == before);
    return;
  }
  std::string nick;
  std::string version;
  scan_login_text(hex_to_text(line), nick, version);
  check(nick.size() <= NICK_MAX && version.size() <= VERSION_MAX);
}

void fuzz_field(std::string_view input) {
  Client client;
  client.nick = "fuzz";
  apply_field_update(client, input);
  // Cells are written only from the update characters: 0 to 14, or a full-field byte.
  for (std::uint8_t cell : client.field) check(cell <= 14 || input.size() == FIELD_SIZE);
  check(field_wire_form(client.field).size() == FIELD_SIZE);
}

void fuzz_conf(std::string_view input) {
  for (const ConfLine& line : parse_conf_text(input, ConfGrammar{})) {
    check(line.text.size() <= CONF_LINE_MAX && line.name.size() <= CONF_SECTION_MAX);
    check(line.key.size() <= CONF_KEY_MAX && line.value.size() <= CONF_VALUE_MAX);
    conf_number(line.value);
  }
  parse_conf_text(input, ConfGrammar{false, true});
}

void fuzz_ban(std::string_view input) {
  ban_text_matches(input, 0x7f000001);
  ban_text_matches(input, 0x0a000007);
}

void fuzz_winlist(std::string_view input) {
  WinlistTable table{};
  load_winlist_image(table, input);
  winlist_valid(table);
  check(winlist_image(table).size() == WINLIST_FILE_SIZE);
}

// In-channel lines from a member of a small channel. The members have no sockets, so
// everything sent to them is dropped; what counts is that nothing breaks.
void fuzz_channel_line(std::string_view input) {
  reset_world();
  Channel& channel = create_channel("fuzz");
  for (int n = 1; n <= 3; ++n) {
    auto client = std::make_unique<Client>();
    client->nick = "p" + std::to_string(n);
    client->playernum = n;
    client->state = STATE_CHANNEL;
    link_client(channel, std::move(client));
  }
  channel.game_state = static_cast<GameState>(1 + input.size() % 3);
  std::string line(input);
  Client& sender = *channel.members.back();  // player 1, the chanop
  handle_channel_line(sender, line);
  reset_world();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static bool ready = false;
  if (!ready) {
    set_default_settings();
    server_settings.verbose = -1;  // no log file
    ready = true;
  }
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 7) {
    case 0: fuzz_line_buffer(input); break;
    case 1: fuzz_login(input); break;
    case 2: fuzz_field(input); break;
    case 3: fuzz_conf(input); break;
    case 4: fuzz_ban(input); break;
    case 5: fuzz_winlist(input); break;
    default: fuzz_channel_line(input); break;
  }
  return 0;
}

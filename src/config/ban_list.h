// game.ban: IPv4 patterns with '*' for any octet, read afresh for every connection.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr const char* GAME_BAN_FILE = "game.ban";

// True when an entry of game.ban matches the address (host order, first octet in
// the most significant byte). A missing file bans nobody.
bool is_banned(std::uint64_t address);
// The same test over a text holding the file's content.
bool ban_text_matches(std::string_view text, std::uint64_t address);

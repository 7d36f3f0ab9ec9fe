// Decoding of the login line: hexadecimal pairs, a seed and the scrambled login text.
// The key is learned from the ten known characters every login text starts with.
// Only complete pairs are read: a line shorter than the seed and ten pairs fails the
// learning step, and a trailing half pair is left as it is and never decoded.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr std::array<int, 10> KNOWN_LOGIN_TEXT = {'b', 'r', 'i', 'k', 'k',
                                                         'a', 's', 't', 'a', 'r'};
constexpr int LOGIN_TYPES = 10;
constexpr int LOGIN_MAX_PERIOD = 5;  // longer periods are taken as 10

// The decoded byte (0..255) of `cur` after `prev` for a type 1..10; -1 for any other type.
int login_transform(int type, int prev, int cur);
// 0 with the line rewritten in place (pairs from 1 on decoded, "%02X"), or -1 with the
// line unchanged.
int decode_login(std::string& line);
// The bytes of pairs 1 onwards of a rewritten line, up to the first zero byte.
std::string hex_to_text(std::string_view line);

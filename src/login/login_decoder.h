// Decoding of the login line: hexadecimal pairs, a seed and the scrambled login text.
// The key is learned from the ten known characters every login text starts with.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr std::array<int, 10> KNOWN_LOGIN_TEXT = {'b', 'r', 'i', 'k', 'k',
                                                         'a', 's', 't', 'a', 'r'};

int login_transform(int type, int prev, int cur);
// 0 with the line rewritten in place (pairs from 1 on decoded, "%02X"), or -1 with the
// line unchanged.
int decode_login(std::string& line);
// The bytes of pairs 1 onwards of a rewritten line, up to the first zero byte.
std::string hex_to_text(std::string_view line);

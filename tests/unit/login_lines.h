// Login lines for the in-process tests, built by the inverse of the decoder: seed s,
// then for each character c the byte ((p + c) mod 255) XOR (48 + key digit), p the
// encoded byte before it, written as upper-case hexadecimal pairs.
#pragma once

#include <cstdio>
#include <string>

inline std::string encode_login_line(const std::string& text, const std::string& digits = "618",
                                     int seed = 0x4f) {
  std::string line;
  char pair[3];
  std::snprintf(pair, sizeof pair, "%02X", seed);
  line += pair;
  int prev = seed;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int c = static_cast<unsigned char>(text[i]);
    prev = ((prev + c) % 255) ^ (48 + digits[i % digits.size()] - '0');
    std::snprintf(pair, sizeof pair, "%02X", prev);
    line += pair;
  }
  return line;
}

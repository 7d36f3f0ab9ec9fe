// Text comparison shared by every subsystem: nicknames, teams, channel names, keys and
// command words are all compared without regard to letter case (ASCII letters only).
#pragma once

#include <string_view>

inline char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool same_text_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

inline bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         same_text_ignoring_case(text.substr(0, prefix.size()), prefix);
}

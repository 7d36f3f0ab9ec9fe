// Colour stripping over the fixed set of attribute bytes; every other byte, 0xFF and
// high bytes included, passes through unchanged.
#include "game/colour.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<unsigned char, 18> COLOUR_BYTES = {2,  3,  4,  5,  6,  8,  12, 14, 15,
                                                        16, 17, 19, 20, 22, 23, 24, 25, 31};

}  // namespace

bool is_colour_byte(unsigned char byte) {
  return std::find(COLOUR_BYTES.begin(), COLOUR_BYTES.end(), byte) != COLOUR_BYTES.end();
}

std::string strip_colour(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!is_colour_byte(static_cast<unsigned char>(c))) out.push_back(c);
  }
  return out;
}

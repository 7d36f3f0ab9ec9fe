// Colour stripping: the attribute bytes that colour and style partyline text, removed
// from game messages (when the channel asks for it) and from names in the winlist.
#pragma once

#include <string>
#include <string_view>

// The bytes 2, 3, 4, 5, 6, 8, 12, 14, 15, 16, 17, 19, 20, 22, 23, 24, 25 and 31.
bool is_colour_byte(unsigned char byte);
// The text without its colour bytes; every other byte kept in order.
std::string strip_colour(std::string_view text);

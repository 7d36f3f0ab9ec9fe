// A player's field: its wire form ("f %d " and 264 characters) and the two forms of
// field update that write its cells.
#pragma once

#include <string>
#include <string_view>

#include "channel/records.h"

inline constexpr const char* SPECIAL_LETTERS = "acnrsbgqo";

std::string field_wire_form(const Field& field);
void send_field(const Client& to, const Client& of);
void apply_field_update(Client& client, std::string_view text);

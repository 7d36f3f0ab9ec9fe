// Game control: start, stop, pause, players lost and the winner; the winlist credit
// and the winlist message.
#pragma once

#include <string>
#include <string_view>

#include "channel/records.h"
#include "config/winlist.h"

constexpr int WIN_POINTS = 3;

void handle_startgame(Client& client, std::string_view rest);
void handle_pause(Client& client, std::string_view rest);
void handle_playerlost(Client& client, std::string_view rest);

// Credits `points` (> 0; anything else changes nothing) to the row of that name (cut
// to 30, found without regard to case) and kind, adding the row when there is room.
void winlist_add(WinlistTable& table, std::string_view name, char kind, int points);
void winlist_add(std::string_view name, char kind, int points);  // the global table
// To `only` when given, else to every player of the channel.
void send_winlist(const Channel& channel, const Client* only);
// Whole messages, closing 0xFF included.
std::string winlist_message(const WinlistTable& table);
std::string game_start_message(const ChannelSettings& settings);

// The only way a client ends: remove_client tells the channel, ends a game that is
// left with at most one side playing, deletes an emptied non-persistent channel and
// frees the record. The caller has already closed the socket with kill_socket.
#pragma once

#include "channel/records.h"

struct SideCount {
  int sides = 0;
  Client* candidate = nullptr;  // the member that opened the last side counted
};

// Sides still playing in the channel: members in STATE_CHANNEL with PLAY_ACTIVE other
// than `except`, each run of one non-empty team (ignoring case) counting once.
SideCount count_sides(const Channel& channel, const Client* except);

// Ends the channel's game without a winner: "endgame" to every member in
// STATE_CHANNEL other than `except`, their play state cleared, the game stopped.
void end_game_without_winner(Channel& channel, const Client* except);

void remove_client(Client& client);

// Admission of new connections: accept, ban test, the channel of highest priority
// with room (or a new default channel while maxchannels allows), STATE_INIT. A peer
// refused here is never in any list; the others wait in their channel, not yet players.
#pragma once

#include <string>

#include "channel/records.h"

constexpr int ACCEPT_TRIES = 3;  // accepts tried while they would block

void admit_connection(Client& listener);
// The channel admission would place a new connection in, or null.
Channel* choose_channel();
// The first of "lineblox", "lineblox2", "lineblox3", ... that no channel has.
std::string free_default_channel_name();

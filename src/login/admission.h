// Admission of new connections: accept, ban test, the channel of highest priority
// with room (or a new default channel while maxchannels allows), STATE_INIT.
#pragma once

#include "channel/records.h"

void admit_connection(Client& listener);
// The channel admission would place a new connection in, or null.
Channel* choose_channel();

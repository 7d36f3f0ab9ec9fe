// The one-second timer: idle time-outs of every client, then sudden death in every
// channel whose game is running.
#pragma once

void run_timers();

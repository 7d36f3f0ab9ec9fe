// The one place that reads the wall clock, so timers can be driven by tests.
#pragma once

#include <ctime>

std::time_t now_seconds();
// Tests replace the clock; null restores the real one.
void set_clock_for_tests(std::time_t (*clock)());

// Wall-clock access behind a replaceable function pointer.
#include "core/clock.h"

namespace {
std::time_t (*test_clock)() = nullptr;
}

std::time_t now_seconds() { return test_clock != nullptr ? test_clock() : std::time(nullptr); }

void set_clock_for_tests(std::time_t (*clock)()) { test_clock = clock; }

#pragma once

#include <cstdint>

// The host's monotonic clock in its own units. One unit is numer / denom nanoseconds.
namespace platform::mach {

struct timebase_info {
  std::uint32_t numer = 1;
  std::uint32_t denom = 1;
};

// 1/1 unless a test set another.
timebase_info get_timebase_info();
// For tests that check conversions with another host's timebase.
void set_timebase_info(timebase_info value);

// CLOCK_MONOTONIC in units of the current timebase.
std::uint64_t absolute_time();

} // namespace platform::mach

#include "platform/mach/absolute_time.hpp"

#include <ctime>
#include <mutex>

namespace platform::mach {

namespace {

std::mutex mutex;
timebase_info timebase;

} // namespace

timebase_info get_timebase_info() {
  std::lock_guard lock(mutex);
  return timebase;
}

void set_timebase_info(timebase_info value) {
  std::lock_guard lock(mutex);
  timebase = value;
}

std::uint64_t absolute_time() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const auto nanoseconds =
      static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000u + static_cast<std::uint64_t>(now.tv_nsec);
  const auto base = get_timebase_info();
  if (base.numer == 0) {
    return nanoseconds;
  }
  // Split so the product cannot overflow.
  return nanoseconds / base.numer * base.denom + nanoseconds % base.numer * base.denom / base.numer;
}

} // namespace platform::mach

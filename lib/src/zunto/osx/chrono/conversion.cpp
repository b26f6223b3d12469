#include "zunto/osx/chrono/conversion.hpp"

#include "platform/mach/absolute_time.hpp"
#include "zunto/json/number.hpp"

#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <utility>

namespace zunto::osx::chrono {

namespace {

platform::mach::timebase_info timebase() {
  static std::mutex mutex;
  static std::optional<platform::mach::timebase_info> info;
  std::lock_guard lock(mutex);
  if (!info) {
    info = platform::mach::get_timebase_info();
  }
  return *info;
}

} // namespace

absolute_time_duration make_absolute_time_duration(std::chrono::nanoseconds duration) {
  const auto info = timebase();
  if (info.numer == 0 || info.numer == info.denom) {
    return absolute_time_duration(duration.count());
  }
  const double scaled =
      static_cast<double>(duration.count()) * (static_cast<double>(info.denom) / static_cast<double>(info.numer));
  return absolute_time_duration(zunto::json::saturating_number<std::int64_t>(scaled));
}

std::chrono::nanoseconds make_nanoseconds(absolute_time_duration duration) {
  const auto info = timebase();
  if (info.denom == 0 || info.numer == info.denom) {
    return std::chrono::nanoseconds(duration.count());
  }
  const double scaled =
      static_cast<double>(duration.count()) * (static_cast<double>(info.numer) / static_cast<double>(info.denom));
  return std::chrono::nanoseconds(zunto::json::saturating_number<std::int64_t>(scaled));
}

absolute_time_point now() {
  const auto units = platform::mach::absolute_time();
  return absolute_time_point(std::in_range<std::int64_t>(units) ? static_cast<std::int64_t>(units)
                                                                : std::numeric_limits<std::int64_t>::max());
}

} // namespace zunto::osx::chrono

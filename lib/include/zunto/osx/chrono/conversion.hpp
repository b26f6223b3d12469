#pragma once

#include "zunto/osx/chrono/absolute_time_duration.hpp"
#include "zunto/osx/chrono/absolute_time_point.hpp"

#include <chrono>

namespace zunto::osx::chrono {

// Conversions with the host timebase, fetched once per process by whichever runs first; the
// results are cut toward zero.
absolute_time_duration make_absolute_time_duration(std::chrono::nanoseconds duration);
std::chrono::nanoseconds make_nanoseconds(absolute_time_duration duration);

// The host's absolute time now.
absolute_time_point now();

} // namespace zunto::osx::chrono

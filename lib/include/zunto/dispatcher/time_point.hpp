#pragma once

#include <chrono>

namespace zunto::dispatcher {

// Milliseconds since the Unix epoch on the system clock. Two values mean something of their own
// to the queue: 0 goes ahead of everything, 1 is due at once (always in the past).
using time_point = std::chrono::milliseconds;

} // namespace zunto::dispatcher

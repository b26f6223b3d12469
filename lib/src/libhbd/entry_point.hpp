#pragma once

#include "zunto/guard_exceptions.hpp"

#include <string_view>
#include <utility>

namespace libhbd {

// Logs that an entry point failed.
void log_entry_point_error(std::string_view entry_point, std::string_view message);

// Runs an entry point's body so that no exception crosses the C boundary: a throw is logged and
// the entry point gives `fallback` instead.
template <typename Result, typename Function>
Result guard_entry_point(std::string_view entry_point, Result fallback, Function&& function) noexcept {
  return zunto::guard_exceptions(
      std::move(fallback), std::forward<Function>(function),
      [entry_point](std::string_view message) { log_entry_point_error(entry_point, message); });
}

// The same for an entry point without a result.
template <typename Function>
void guard_entry_point(std::string_view entry_point, Function&& function) noexcept {
  zunto::guard_exceptions(std::forward<Function>(function),
                          [entry_point](std::string_view message) { log_entry_point_error(entry_point, message); });
}

// Whether the caller runs on the shared dispatcher's worker thread, where a call that waits for
// that thread would never return.
bool on_shared_dispatcher_thread() noexcept;

} // namespace libhbd

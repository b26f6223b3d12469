#pragma once

#include <exception>
#include <string_view>
#include <utility>

namespace libhbd {

// Logs that an entry point failed; never throws.
void log_entry_point_error(std::string_view entry_point, std::string_view message) noexcept;

// Runs an entry point's body so that no exception crosses the C boundary: a throw is logged and
// the entry point gives `fallback` instead.
template <typename Result, typename Function>
Result guard_entry_point(std::string_view entry_point, Result fallback, Function&& function) noexcept {
  try {
    return std::forward<Function>(function)();
  } catch (const std::exception& e) {
    log_entry_point_error(entry_point, e.what());
  } catch (...) {
    log_entry_point_error(entry_point, "unknown exception");
  }
  return fallback;
}

// The same for an entry point without a result.
template <typename Function>
void guard_entry_point(std::string_view entry_point, Function&& function) noexcept {
  try {
    std::forward<Function>(function)();
  } catch (const std::exception& e) {
    log_entry_point_error(entry_point, e.what());
  } catch (...) {
    log_entry_point_error(entry_point, "unknown exception");
  }
}

// Whether the caller runs on the shared dispatcher's worker thread, where a call that waits for
// that thread would never return.
bool on_shared_dispatcher_thread() noexcept;

} // namespace libhbd

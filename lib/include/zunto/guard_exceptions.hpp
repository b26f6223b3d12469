#pragma once

#include <exception>
#include <string_view>
#include <utility>

namespace zunto {

namespace detail {

template <typename Report>
void report_exception(Report& report, std::string_view message) noexcept {
  try {
    report(message);
  } catch (...) {
    // Nothing is left to report with.
  }
}

} // namespace detail

// Runs `function` so that nothing it throws escapes, for dispatcher jobs and the C boundary alike:
// a throw's message ("unknown exception" for one that is not a std::exception) goes to
// `report(std::string_view)`, whose own throw is swallowed.
template <typename Function, typename Report>
void guard_exceptions(Function&& function, Report&& report) noexcept {
  try {
    std::forward<Function>(function)();
  } catch (const std::exception& e) {
    detail::report_exception(report, e.what());
  } catch (...) {
    detail::report_exception(report, "unknown exception");
  }
}

// The same for work with a result, which is `fallback` after a throw.
template <typename Result, typename Function, typename Report>
Result guard_exceptions(Result fallback, Function&& function, Report&& report) noexcept {
  guard_exceptions([&] { fallback = std::forward<Function>(function)(); }, report);
  return fallback;
}

} // namespace zunto

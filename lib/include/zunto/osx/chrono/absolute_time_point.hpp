#pragma once

#include "zunto/osx/chrono/absolute_time_duration.hpp"

#include <compare>
#include <cstdint>

namespace zunto::osx::chrono {

// A moment in host absolute-time units (event time stamps).
class absolute_time_point final {
public:
  constexpr absolute_time_point() = default;
  constexpr explicit absolute_time_point(std::int64_t count) : count_(count) {}

  constexpr std::int64_t count() const { return count_; }

  constexpr absolute_time_point& operator+=(absolute_time_duration duration) {
    count_ += duration.count();
    return *this;
  }
  constexpr absolute_time_point operator+(absolute_time_duration duration) const {
    return absolute_time_point(count_ + duration.count());
  }
  constexpr absolute_time_duration operator-(absolute_time_point other) const {
    return absolute_time_duration(count_ - other.count_);
  }

  constexpr auto operator<=>(const absolute_time_point&) const = default;

private:
  std::int64_t count_ = 0;
};

} // namespace zunto::osx::chrono

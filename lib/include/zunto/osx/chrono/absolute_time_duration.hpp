#pragma once

#include <compare>
#include <cstdint>

namespace zunto::osx::chrono {

// A span of host absolute-time units.
class absolute_time_duration final {
public:
  constexpr absolute_time_duration() = default;
  constexpr explicit absolute_time_duration(std::int64_t count) : count_(count) {}

  constexpr std::int64_t count() const { return count_; }

  constexpr absolute_time_duration& operator+=(absolute_time_duration other) {
    count_ += other.count_;
    return *this;
  }
  constexpr absolute_time_duration operator+(absolute_time_duration other) const {
    return absolute_time_duration(count_ + other.count_);
  }
  constexpr absolute_time_duration operator-(absolute_time_duration other) const {
    return absolute_time_duration(count_ - other.count_);
  }

  constexpr auto operator<=>(const absolute_time_duration&) const = default;

private:
  std::int64_t count_ = 0;
};

} // namespace zunto::osx::chrono

#pragma once

#include <cstdint>

namespace zunto::osx {

// The result code of an IOKit call; 0 is success.
class iokit_return final {
public:
  constexpr iokit_return() = default;
  constexpr explicit iokit_return(std::int32_t value) : value_(value) {}

  constexpr std::int32_t get() const { return value_; }
  constexpr bool success() const { return value_ == 0; }

  constexpr bool operator==(const iokit_return&) const = default;

private:
  std::int32_t value_ = 0;
};

} // namespace zunto::osx

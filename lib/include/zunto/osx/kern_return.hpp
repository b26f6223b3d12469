#pragma once

#include <cstdint>
#include <string>

namespace zunto::osx {

// A kernel or IOKit call's result code.
class kern_return final {
public:
  constexpr kern_return() = default;
  constexpr explicit kern_return(std::int32_t value) : value_(value) {}

  constexpr std::int32_t get() const { return value_; }
  constexpr bool success() const { return value_ == 0; }

  // The name of the code field (the low 14 bits), such as "KERN_SUCCESS"; for a code field beyond
  // the named ones, "Unknown kern_return_t (" with the whole value in signed decimal and ")".
  std::string to_string() const;

  constexpr bool operator==(const kern_return&) const = default;

private:
  std::int32_t value_ = 0;
};

} // namespace zunto::osx

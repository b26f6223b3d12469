#pragma once

#include <cstdint>

namespace hbd::manipulator {

// passed: not taken, offer the entry to the next manipulator; manipulated: taken and replaced;
// wait: undecided, offer the same front entry again later.
enum class manipulate_result : std::uint32_t {
  passed,
  manipulated,
  wait,
};

} // namespace hbd::manipulator

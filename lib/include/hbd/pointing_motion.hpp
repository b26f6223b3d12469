#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace hbd {

// Relative pointer motion and wheel movement.
struct pointing_motion {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t vertical_wheel = 0;
  std::int32_t horizontal_wheel = 0;

  bool operator==(const pointing_motion&) const = default;
};

} // namespace hbd

template <>
struct std::hash<hbd::pointing_motion> {
  std::size_t operator()(const hbd::pointing_motion& value) const noexcept;
};

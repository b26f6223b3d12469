#include "hbd/pointing_motion.hpp"

#include "zunto/hash_combine.hpp"

std::size_t std::hash<hbd::pointing_motion>::operator()(const hbd::pointing_motion& value) const noexcept {
  std::uint64_t combined = 0;
  for (const std::int32_t field : {value.x, value.y, value.vertical_wheel, value.horizontal_wheel}) {
    zunto::hash_combine(combined, std::hash<std::int32_t>{}(field));
  }
  return combined;
}

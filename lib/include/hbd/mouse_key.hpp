#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace hbd {

// A mouse movement requested by a rule.
struct mouse_key {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t vertical_wheel = 0;
  std::int32_t horizontal_wheel = 0;
  double speed_multiplier = 1.0;

  bool operator==(const mouse_key&) const = default;
};

// Replaces the fields named; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, mouse_key& value);

} // namespace hbd

template <>
struct std::hash<hbd::mouse_key> {
  std::size_t operator()(const hbd::mouse_key& value) const noexcept;
};

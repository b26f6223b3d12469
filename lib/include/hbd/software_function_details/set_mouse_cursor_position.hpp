#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace hbd::software_function_details {

struct set_mouse_cursor_position {
  // A coordinate: the value itself, or a percentage of the screen.
  struct position_value {
    enum class position_type : std::uint32_t {
      absolute,
      percent,
    };

    std::int32_t value = 0;
    position_type type = position_type::absolute;

    bool operator==(const position_value&) const = default;
  };

  position_value x;
  position_value y;
  std::optional<std::int32_t> screen;

  bool operator==(const set_mouse_cursor_position&) const = default;
};

// A number, "50%" or a string with a leading integer; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, set_mouse_cursor_position::position_value& value);
void from_json(const nlohmann::json& json, set_mouse_cursor_position& value);

} // namespace hbd::software_function_details

template <>
struct std::hash<hbd::software_function_details::set_mouse_cursor_position> {
  std::size_t operator()(const hbd::software_function_details::set_mouse_cursor_position& value) const noexcept;
};

#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string_view>

namespace hbd {

// The modifier keys; end_ marks the count and has no name.
enum class modifier_flag : std::uint32_t {
  zero,
  caps_lock,
  left_control,
  left_shift,
  left_option,
  left_command,
  right_control,
  right_shift,
  right_option,
  right_command,
  fn,
  end_,
};

// The flag's JSON name; none for end_ and values outside the enumeration.
std::optional<std::string_view> make_modifier_flag_name(modifier_flag flag);

// A string naming a flag; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, modifier_flag& value);

} // namespace hbd

#pragma once

#include "hbd/modifier_flag.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <set>
#include <vector>

// The modifier names of rules ("shift", "left_command", ...) and the flags each stands for.
namespace hbd::manipulator::modifier_definition {

enum class modifier : std::uint32_t {
  any,
  caps_lock,
  command,
  control,
  fn,
  left_command,
  left_control,
  left_option,
  left_shift,
  option,
  right_command,
  right_control,
  right_option,
  right_shift,
  shift,
  end_,
};

// A string naming a modifier; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, modifier& value);

// An array of names (duplicates collapse) or one name; throws zunto::json::unmarshal_error.
std::set<modifier> make_modifiers(const nlohmann::json& json);

// Left before right; none for any and end_.
std::vector<modifier_flag> get_modifier_flags(modifier value);

} // namespace hbd::manipulator::modifier_definition

#pragma once

#include "hbd/manipulator_environment_variable_value.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace hbd {

// The assignment of a rule variable: `value` on key down, `key_up_value` on key up.
struct manipulator_environment_variable_set_variable {
  std::optional<std::string> name;
  std::optional<manipulator_environment_variable_value> value;
  std::optional<manipulator_environment_variable_value> key_up_value;

  bool operator==(const manipulator_environment_variable_set_variable&) const = default;
};

// Sets the optionals named; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, manipulator_environment_variable_set_variable& value);

} // namespace hbd

template <>
struct std::hash<hbd::manipulator_environment_variable_set_variable> {
  std::size_t operator()(const hbd::manipulator_environment_variable_set_variable& value) const noexcept;
};

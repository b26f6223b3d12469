#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>
#include <variant>

namespace hbd {

// The value of a rule variable.
using manipulator_environment_variable_value = std::variant<std::int32_t, bool, std::string>;

// A number (fraction dropped), a boolean or a string; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, manipulator_environment_variable_value& value);
void to_json(nlohmann::json& json, const manipulator_environment_variable_value& value);

} // namespace hbd

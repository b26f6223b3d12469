#pragma once

#include <nlohmann/json.hpp>

#include <string_view>

// Kind checks run before a JSON value is converted. Each throws zunto::json::unmarshal_error
// "<name> must be <kind>, but is `<dump>`"; null, binary and discarded values pass none of them.
namespace zunto::json {

void requires_object(const nlohmann::json& json, std::string_view name);
void requires_array(const nlohmann::json& json, std::string_view name);
void requires_string(const nlohmann::json& json, std::string_view name);
void requires_boolean(const nlohmann::json& json, std::string_view name);
// Signed, unsigned and floating-point numbers.
void requires_number(const nlohmann::json& json, std::string_view name);

} // namespace zunto::json

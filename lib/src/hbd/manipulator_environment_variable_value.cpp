#include "hbd/manipulator_environment_variable_value.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/number.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

namespace hbd {

void from_json(const nlohmann::json& json, manipulator_environment_variable_value& value) {
  if (json.is_number()) {
    value = zunto::json::wrapping_number<std::int32_t>(json);
  } else if (json.is_boolean()) {
    value = json.get<bool>();
  } else if (json.is_string()) {
    value = json.get<std::string>();
  } else {
    throw zunto::json::unmarshal_error("json must be number, boolean or string, but is `" +
                                       zunto::json::dump_for_error_message(json) + "`");
  }
}

void to_json(nlohmann::json& json, const manipulator_environment_variable_value& value) {
  std::visit([&](const auto& alternative) { json = alternative; }, value);
}

} // namespace hbd

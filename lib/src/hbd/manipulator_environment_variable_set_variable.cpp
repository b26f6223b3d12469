#include "hbd/manipulator_environment_variable_set_variable.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/hash_combine.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd {

void from_json(const nlohmann::json& json, manipulator_environment_variable_set_variable& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (key == "name") {
      zunto::json::requires_string(member, "`name`");
      value.name = member.get<std::string>();
    } else if (key == "value") {
      manipulator_environment_variable_value variable_value;
      from_json(member, variable_value);
      value.value = std::move(variable_value);
    } else if (key == "key_up_value") {
      manipulator_environment_variable_value variable_value;
      from_json(member, variable_value);
      value.key_up_value = std::move(variable_value);
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

} // namespace hbd

std::size_t std::hash<hbd::manipulator_environment_variable_set_variable>::operator()(
    const hbd::manipulator_environment_variable_set_variable& value) const noexcept {
  std::uint64_t combined = 0;
  zunto::hash_combine(combined, zunto::optional_hash(value.name));
  zunto::hash_combine(combined, zunto::optional_hash(value.value));
  zunto::hash_combine(combined, zunto::optional_hash(value.key_up_value));
  return combined;
}

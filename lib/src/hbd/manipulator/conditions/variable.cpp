#include "hbd/manipulator/conditions/variable.hpp"

#include "hbd/manipulator/conditions/condition_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <array>

namespace hbd::manipulator::conditions {

namespace {

constexpr std::array<std::string_view, 2> type_names{"variable_if", "variable_unless"};

} // namespace

variable::variable(const nlohmann::json& json) {
  condition_reading::read(
      json, type_names, [this](std::size_t index) { type_ = static_cast<type>(index); },
      [this](const std::string& key, const nlohmann::json& value) {
        if (key == "name") {
          zunto::json::requires_string(value, "`name`");
          name_ = value.get<std::string>();
        } else if (key == "value") {
          manipulator_environment_variable_value read_value;
          hbd::from_json(value, read_value);
          value_ = std::move(read_value);
        } else {
          return false;
        }
        return true;
      });
  if (!name_) {
    condition_reading::throw_not_found("name", json);
  }
  if (!value_) {
    condition_reading::throw_not_found("value", json);
  }
}

bool variable::is_fulfilled(const event_queue::entry&, const manipulator_environment& environment) const {
  if (!name_ || !value_) {
    return false;
  }
  const bool equal = environment.get_variable(*name_) == *value_;
  return type_ == type::variable_if ? equal : !equal;
}

} // namespace hbd::manipulator::conditions

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"

#include "hbd/logger.hpp"
#include "zunto/json/number.hpp"
#include "zunto/json/object_copy.hpp"

#include <algorithm>

namespace hbd::core_configuration::details {

constinit const std::array<complex_modifications_parameters::parameter, 5>
    complex_modifications_parameters::parameters_{{
        {"basic.simultaneous_threshold_milliseconds", 0, 1000,
         &complex_modifications_parameters::basic_simultaneous_threshold_milliseconds_},
        {"basic.to_if_alone_timeout_milliseconds", 0, std::nullopt,
         &complex_modifications_parameters::basic_to_if_alone_timeout_milliseconds_},
        {"basic.to_if_held_down_threshold_milliseconds", 0, std::nullopt,
         &complex_modifications_parameters::basic_to_if_held_down_threshold_milliseconds_},
        {"basic.to_delayed_action_delay_milliseconds", 0, std::nullopt,
         &complex_modifications_parameters::basic_to_delayed_action_delay_milliseconds_},
        {"mouse_motion_to_scroll.speed", 1, 10000, &complex_modifications_parameters::mouse_motion_to_scroll_speed_},
    }};

namespace {

const std::shared_ptr<const nlohmann::json>& empty_object() {
  // Never destroyed: a configuration may be read while the process exits.
  static const auto& object =
      *new std::shared_ptr<const nlohmann::json>(std::make_shared<const nlohmann::json>(nlohmann::json::object()));
  return object;
}

} // namespace

complex_modifications_parameters::complex_modifications_parameters()
    : complex_modifications_parameters(nlohmann::json::object()) {}

complex_modifications_parameters::complex_modifications_parameters(const nlohmann::json& json)
    : json_(json.is_object() && json.empty() ? empty_object() : std::make_shared<const nlohmann::json>(json)),
      basic_simultaneous_threshold_milliseconds_(50),
      basic_to_if_alone_timeout_milliseconds_(1000),
      basic_to_if_held_down_threshold_milliseconds_(500),
      basic_to_delayed_action_delay_milliseconds_(500),
      mouse_motion_to_scroll_speed_(100) {
  update(json);
}

std::map<std::string, std::reference_wrapper<std::int32_t>> complex_modifications_parameters::make_map() {
  std::map<std::string, std::reference_wrapper<std::int32_t>> map;
  for (const auto& p : parameters_) {
    map.emplace(std::string(p.name), std::ref(this->*p.field));
  }
  return map;
}

void complex_modifications_parameters::update(const nlohmann::json& json) {
  if (json.is_object()) {
    for (const auto& p : parameters_) {
      if (auto it = json.find(p.name); it != json.end()) {
        try {
          this->*p.field = zunto::json::saturating_number<std::int32_t>(*it);
        } catch (const nlohmann::json::type_error&) {
          // Not a number: the parameter keeps its value.
        }
      }
    }
  }
  normalize();
}

void complex_modifications_parameters::normalize() {
  for (const auto& p : parameters_) {
    normalize(this->*p.field, p.min, p.max, std::string(p.name));
  }
}

void complex_modifications_parameters::normalize(std::int32_t& value, std::optional<std::int32_t> min,
                                                 std::optional<std::int32_t> max, const std::string& name) {
  if (min && value < *min) {
    logger::get_logger()->warn("{0} should be >= {1}.", name, *min);
    value = *min;
  }
  if (max && value > *max) {
    logger::get_logger()->warn("{0} should be <= {1}.", name, *max);
    value = *max;
  }
}

nlohmann::json complex_modifications_parameters::to_json() const {
  // A "parameters" value that is not an object carries nothing; it is saved as an object.
  auto json = zunto::json::object_copy(*json_);
  for (const auto& p : parameters_) {
    json[std::string(p.name)] = this->*p.field;
  }
  return json;
}

std::optional<std::int32_t> complex_modifications_parameters::get_value(const std::string& name) const {
  auto it = std::find_if(parameters_.begin(), parameters_.end(), [&](const parameter& p) { return p.name == name; });
  if (it == parameters_.end()) {
    return std::nullopt;
  }
  return this->*it->field;
}

void complex_modifications_parameters::set_value(const std::string& name, std::int32_t value) {
  auto it = std::find_if(parameters_.begin(), parameters_.end(), [&](const parameter& p) { return p.name == name; });
  if (it != parameters_.end()) {
    this->*it->field = value;
  }
  normalize();
}

} // namespace hbd::core_configuration::details

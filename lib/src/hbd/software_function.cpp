#include "hbd/software_function.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace hbd {

namespace {

template <typename Alternative>
Alternative read_alternative(const std::string& key, const nlohmann::json& json) {
  Alternative alternative;
  try {
    from_json(json, alternative);
  } catch (const zunto::json::unmarshal_error& e) {
    throw zunto::json::unmarshal_error("`" + key + "` error: " + e.what());
  }
  return alternative;
}

} // namespace

void from_json(const nlohmann::json& json, software_function& value) {
  namespace details = software_function_details;
  zunto::json::requires_object(json, "json");
  for (const auto& [key, member] : json.items()) {
    if (key == "cg_event_double_click") {
      value.set_value(read_alternative<details::cg_event_double_click>(key, member));
    } else if (key == "iokit_power_management_sleep_system") {
      value.set_value(read_alternative<details::iokit_power_management_sleep_system>(key, member));
    } else if (key == "set_mouse_cursor_position") {
      value.set_value(read_alternative<details::set_mouse_cursor_position>(key, member));
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

} // namespace hbd

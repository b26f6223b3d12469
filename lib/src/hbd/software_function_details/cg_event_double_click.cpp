#include "hbd/software_function_details/cg_event_double_click.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd::software_function_details {

void from_json(const nlohmann::json& json, cg_event_double_click& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& [key, member] : json.items()) {
    if (key == "button") {
      value.button = json_reading::read_int32_member(key, member);
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

} // namespace hbd::software_function_details

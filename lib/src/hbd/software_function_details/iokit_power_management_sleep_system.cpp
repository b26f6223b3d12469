#include "hbd/software_function_details/iokit_power_management_sleep_system.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd::software_function_details {

void from_json(const nlohmann::json& json, iokit_power_management_sleep_system& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& [key, member] : json.items()) {
    if (key == "delay_milliseconds") {
      value.delay_milliseconds = std::chrono::milliseconds(json_reading::read_int32_member(key, member));
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

} // namespace hbd::software_function_details

#include "hbd/core_configuration/details/parameters.hpp"

#include "zunto/json/number.hpp"
#include "zunto/json/object_copy.hpp"
#include "zunto/json/requires.hpp"

#include <cstdint>

namespace hbd::core_configuration::details {

void from_json(const nlohmann::json& json, parameters& value) {
  zunto::json::requires_object(json, "json");

  if (auto it = json.find("delay_milliseconds_before_open_device"); it != json.end()) {
    zunto::json::requires_number(*it, "`delay_milliseconds_before_open_device`");
    // Cut toward zero like the JSON library; saturated where its conversion would overflow.
    value.set_delay_milliseconds_before_open_device(
        std::chrono::milliseconds(zunto::json::saturating_number<std::int32_t>(*it)));
  }

  value.set_json(json);
}

void to_json(nlohmann::json& json, const parameters& value) {
  json = zunto::json::object_copy(value.get_json());
  json["delay_milliseconds_before_open_device"] = value.get_delay_milliseconds_before_open_device().count();
}

} // namespace hbd::core_configuration::details

#include "hbd/core_configuration/details/virtual_hid_keyboard.hpp"

#include "zunto/json/number.hpp"
#include "zunto/json/object_copy.hpp"
#include "zunto/json/requires.hpp"

#include <algorithm>

namespace hbd::core_configuration::details {

void from_json(const nlohmann::json& json, virtual_hid_keyboard& keyboard) {
  zunto::json::requires_object(json, "json");

  for (const auto& [key, value] : json.items()) {
    if (key == "country_code") {
      keyboard.set_country_code(value.get<zunto::hid::country_code::value_t>());
    } else if (key == "mouse_key_xy_scale") {
      zunto::json::requires_number(value, "`mouse_key_xy_scale`");
      keyboard.set_mouse_key_xy_scale(std::max(0, zunto::json::saturating_number<std::int32_t>(value)));
    } else if (key == "indicate_sticky_modifier_keys_state") {
      zunto::json::requires_boolean(value, "`indicate_sticky_modifier_keys_state`");
      keyboard.set_indicate_sticky_modifier_keys_state(value.get<bool>());
    }
  }

  keyboard.set_json(json);
}

void to_json(nlohmann::json& json, const virtual_hid_keyboard& keyboard) {
  json = zunto::json::object_copy(keyboard.get_json());
  json["country_code"] = keyboard.get_country_code();
  json["mouse_key_xy_scale"] = keyboard.get_mouse_key_xy_scale();
  json["indicate_sticky_modifier_keys_state"] = keyboard.get_indicate_sticky_modifier_keys_state();
}

} // namespace hbd::core_configuration::details

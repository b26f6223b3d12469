#include "hbd/virtual_hid_devices_state.hpp"

#include <nlohmann/json.hpp>

namespace hbd {

void to_json(nlohmann::json& json, const virtual_hid_devices_state& value) {
  json["virtual_hid_keyboard_ready"] = value.virtual_hid_keyboard_ready;
  json["virtual_hid_pointing_ready"] = value.virtual_hid_pointing_ready;
}

} // namespace hbd

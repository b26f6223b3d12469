#pragma once

#include <nlohmann/json_fwd.hpp>

namespace hbd {

// Whether the backend's virtual keyboard and pointing device are ready.
struct virtual_hid_devices_state {
  bool virtual_hid_keyboard_ready = false;
  bool virtual_hid_pointing_ready = false;

  bool operator==(const virtual_hid_devices_state&) const = default;
};

void to_json(nlohmann::json& json, const virtual_hid_devices_state& value);

} // namespace hbd

#include "hbd/connected_devices/details/device.hpp"

#include <utility>

namespace hbd::connected_devices::details {
namespace {

bool boolean_or_false(const nlohmann::json& json, const char* key) {
  auto it = json.find(key);
  return it != json.end() && it->is_boolean() && it->get<bool>();
}

} // namespace

device::device(descriptions device_descriptions, device_identifiers identifiers, bool is_built_in_keyboard,
               bool is_built_in_trackpad, bool is_built_in_touch_bar)
    : descriptions_(std::move(device_descriptions)),
      identifiers_(std::move(identifiers)),
      is_built_in_keyboard_(is_built_in_keyboard),
      is_built_in_trackpad_(is_built_in_trackpad),
      is_built_in_touch_bar_(is_built_in_touch_bar) {}

device device::make_from_json(const nlohmann::json& json) {
  if (!json.is_object()) {
    return device({}, {}, false, false, false);
  }
  descriptions device_descriptions;
  if (auto it = json.find("descriptions"); it != json.end()) {
    device_descriptions = descriptions::make_from_json(*it);
  }
  device_identifiers identifiers;
  if (auto it = json.find("identifiers"); it != json.end()) {
    identifiers = it->get<device_identifiers>();
  }
  return device(std::move(device_descriptions), std::move(identifiers), boolean_or_false(json, "is_built_in_keyboard"),
                boolean_or_false(json, "is_built_in_trackpad"), boolean_or_false(json, "is_built_in_touch_bar"));
}

} // namespace hbd::connected_devices::details

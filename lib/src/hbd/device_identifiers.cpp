#include "hbd/device_identifiers.hpp"

#include "zunto/json/object_copy.hpp"
#include "zunto/json/requires.hpp"

#include <fmt/format.h>

#include <utility>

namespace hbd {

device_identifiers::device_identifiers(zunto::hid::vendor_id::value_t vendor_id,
                                       zunto::hid::product_id::value_t product_id, bool is_keyboard,
                                       bool is_pointing_device, bool is_game_pad, std::string device_address)
    : vendor_id_(vendor_id),
      product_id_(product_id),
      is_keyboard_(is_keyboard),
      is_pointing_device_(is_pointing_device),
      is_game_pad_(is_game_pad) {
  if (vendor_id == zunto::hid::vendor_id::value_t{0} && product_id == zunto::hid::product_id::value_t{0}) {
    device_address_ = std::move(device_address);
  }
}

bool device_identifiers::operator==(const device_identifiers& other) const {
  return vendor_id_ == other.vendor_id_ && product_id_ == other.product_id_ &&
         device_address_ == other.device_address_ && is_keyboard_ == other.is_keyboard_ &&
         is_pointing_device_ == other.is_pointing_device_ && is_game_pad_ == other.is_game_pad_;
}

void from_json(const nlohmann::json& json, device_identifiers& identifiers) {
  zunto::json::requires_object(json, "json");

  for (const auto& [key, value] : json.items()) {
    auto name = fmt::format("`{0}`", key);
    if (key == "vendor_id") {
      zunto::json::requires_number(value, name);
      identifiers.vendor_id_ = value.get<zunto::hid::vendor_id::value_t>();
    } else if (key == "product_id") {
      zunto::json::requires_number(value, name);
      identifiers.product_id_ = value.get<zunto::hid::product_id::value_t>();
    } else if (key == "is_keyboard") {
      zunto::json::requires_boolean(value, name);
      identifiers.is_keyboard_ = value.get<bool>();
    } else if (key == "is_pointing_device") {
      zunto::json::requires_boolean(value, name);
      identifiers.is_pointing_device_ = value.get<bool>();
    } else if (key == "is_game_pad") {
      zunto::json::requires_boolean(value, name);
      identifiers.is_game_pad_ = value.get<bool>();
    } else if (key == "device_address") {
      zunto::json::requires_string(value, name);
      identifiers.device_address_ = value.get<std::string>();
    }
  }

  identifiers.set_json(json);
}

void to_json(nlohmann::json& json, const device_identifiers& identifiers) {
  json = zunto::json::object_copy(identifiers.get_json());
  json["vendor_id"] = identifiers.get_vendor_id();
  json["product_id"] = identifiers.get_product_id();
  json["is_keyboard"] = identifiers.get_is_keyboard();
  json["is_pointing_device"] = identifiers.get_is_pointing_device();
  json["is_game_pad"] = identifiers.get_is_game_pad();
  if (!identifiers.get_device_address().empty()) {
    json["device_address"] = identifiers.get_device_address();
  }
}

} // namespace hbd

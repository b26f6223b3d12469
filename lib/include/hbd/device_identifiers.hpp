#pragma once

#include "zunto/hid/product_id.hpp"
#include "zunto/hid/vendor_id.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace hbd {

// The identity under which per-device settings are kept and device conditions match.
class device_identifiers final {
public:
  device_identifiers() = default; // NOLINT(bugprone-exception-escape): a null JSON value allocates nothing
  // The address identifies only devices without vendor and product id; otherwise it is dropped.
  device_identifiers(zunto::hid::vendor_id::value_t vendor_id, zunto::hid::product_id::value_t product_id,
                     bool is_keyboard, bool is_pointing_device, bool is_game_pad, std::string device_address);

  const nlohmann::json& get_json() const { return json_; }
  void set_json(const nlohmann::json& json) { json_ = json; }

  zunto::hid::vendor_id::value_t get_vendor_id() const { return vendor_id_; }
  zunto::hid::product_id::value_t get_product_id() const { return product_id_; }
  bool get_is_keyboard() const { return is_keyboard_; }
  bool get_is_pointing_device() const { return is_pointing_device_; }
  bool get_is_game_pad() const { return is_game_pad_; }
  const std::string& get_device_address() const { return device_address_; }

  // Compares the identity only; the JSON the identifiers were read from does not count.
  bool operator==(const device_identifiers& other) const;

  // Throws zunto::json::unmarshal_error; the fields read before the error stay.
  friend void from_json(const nlohmann::json& json, device_identifiers& identifiers);

private:
  nlohmann::json json_;
  zunto::hid::vendor_id::value_t vendor_id_{0};
  zunto::hid::product_id::value_t product_id_{0};
  bool is_keyboard_ = false;
  bool is_pointing_device_ = false;
  bool is_game_pad_ = false;
  std::string device_address_;
};

void from_json(const nlohmann::json& json, device_identifiers& identifiers);
void to_json(nlohmann::json& json, const device_identifiers& identifiers);

} // namespace hbd

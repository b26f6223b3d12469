#pragma once

#include "hbd/device_identifiers.hpp"
#include "platform/iokit/hid_device.hpp"
#include "zunto/hid/product_id.hpp"
#include "zunto/hid/vendor_id.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace hbd {

// What the system reads about one attached HID device. Whatever the registry does not provide
// stays absent; the built-in marks are only ever set to true.
class device_properties final {
public:
  // Reads the device; never fails. A null device gives false kinds and no properties.
  device_properties(zunto::osx::iokit_registry_entry_id::value_t device_id, platform::iokit::hid_device_ref device);

  // Rebuilds the identifiers from the fields.
  void update_device_identifiers();

  zunto::osx::iokit_registry_entry_id::value_t get_device_id() const { return device_id_; }
  const std::optional<zunto::hid::vendor_id::value_t>& get_vendor_id() const { return vendor_id_; }
  const std::optional<zunto::hid::product_id::value_t>& get_product_id() const { return product_id_; }
  const std::optional<std::int64_t>& get_location_id() const { return location_id_; }
  const std::optional<std::string>& get_manufacturer() const { return manufacturer_; }
  const std::optional<std::string>& get_product() const { return product_; }
  const std::optional<std::string>& get_serial_number() const { return serial_number_; }
  const std::optional<std::string>& get_transport() const { return transport_; }
  const std::optional<std::string>& get_device_address() const { return device_address_; }
  const std::optional<bool>& get_is_keyboard() const { return is_keyboard_; }
  const std::optional<bool>& get_is_pointing_device() const { return is_pointing_device_; }
  const std::optional<bool>& get_is_game_pad() const { return is_game_pad_; }
  const std::optional<bool>& get_is_built_in_keyboard() const { return is_built_in_keyboard_; }
  const std::optional<bool>& get_is_built_in_pointing_device() const { return is_built_in_pointing_device_; }
  const std::optional<bool>& get_is_built_in_touch_bar() const { return is_built_in_touch_bar_; }
  const std::optional<bool>& get_is_hobbard_virtual_hid_device() const { return is_hobbard_virtual_hid_device_; }
  const device_identifiers& get_device_identifiers() const { return device_identifiers_; }

  // The read fields only: the marks and identifiers derived from them are left out.
  bool operator==(const device_properties& other) const;

private:
  void apply_built_in_rules();

  zunto::osx::iokit_registry_entry_id::value_t device_id_;
  std::optional<zunto::hid::vendor_id::value_t> vendor_id_;
  std::optional<zunto::hid::product_id::value_t> product_id_;
  std::optional<std::int64_t> location_id_;
  std::optional<std::string> manufacturer_;
  std::optional<std::string> product_;
  std::optional<std::string> serial_number_;
  std::optional<std::string> transport_;
  std::optional<std::string> device_address_;
  std::optional<bool> is_keyboard_;
  std::optional<bool> is_pointing_device_;
  std::optional<bool> is_game_pad_;
  std::optional<bool> is_built_in_keyboard_;
  std::optional<bool> is_built_in_pointing_device_;
  std::optional<bool> is_built_in_touch_bar_;
  std::optional<bool> is_hobbard_virtual_hid_device_;
  device_identifiers device_identifiers_;
};

} // namespace hbd

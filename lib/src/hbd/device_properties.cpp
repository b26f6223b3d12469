#include "hbd/device_properties.hpp"

#include "hbd/iokit_utility.hpp"
#include "zunto/cf/make_cf_string.hpp"
#include "zunto/osx/iokit_hid_device.hpp"

#include <tuple>

namespace hbd {
namespace {

constexpr zunto::hid::vendor_id::value_t apple_vendor_id{0x05ac};
constexpr zunto::hid::product_id::value_t touch_bar_product_id{0x8600};

std::optional<std::int64_t> find_int64(const zunto::osx::iokit_hid_device& device, std::string_view key) {
  return device.find_int64_property(zunto::cf::make_cf_string(key).get(), true);
}

std::optional<std::string> find_string(const zunto::osx::iokit_hid_device& device, std::string_view key) {
  return device.find_string_property(zunto::cf::make_cf_string(key).get(), true);
}

template <typename T>
std::optional<T> as_id(const std::optional<std::int64_t>& value) {
  // Ids are unsigned; a negative number keeps its bit pattern.
  return value ? std::optional<T>(T{static_cast<std::uint64_t>(*value)}) : std::nullopt;
}

} // namespace

device_properties::device_properties(zunto::osx::iokit_registry_entry_id::value_t device_id,
                                     platform::iokit::hid_device_ref device)
    : device_id_(device_id) {
  const zunto::osx::iokit_hid_device hid_device(device);

  vendor_id_ = as_id<zunto::hid::vendor_id::value_t>(find_int64(hid_device, "VendorID"));
  product_id_ = as_id<zunto::hid::product_id::value_t>(find_int64(hid_device, "ProductID"));
  location_id_ = hid_device.get_registry_entry().find_int64_property(zunto::cf::make_cf_string("LocationID").get());
  manufacturer_ = find_string(hid_device, "Manufacturer");
  product_ = find_string(hid_device, "Product");
  serial_number_ = find_string(hid_device, "SerialNumber");
  transport_ = find_string(hid_device, "Transport");
  device_address_ = find_string(hid_device, "DeviceAddress");

  is_keyboard_ =
      hid_device.conforms_to(zunto::hid::usage_page::generic_desktop, zunto::hid::usage::generic_desktop::keyboard);
  is_pointing_device_ = iokit_utility::is_pointing_device(hid_device);
  is_game_pad_ = iokit_utility::is_game_pad(hid_device);

  // The Touch Bar reports no names of its own.
  if (vendor_id_ == apple_vendor_id && product_id_ == touch_bar_product_id) {
    if (!manufacturer_) {
      manufacturer_ = "Apple Inc.";
    }
    if (!product_) {
      product_ = "Apple Internal Touch Bar";
    }
  }

  apply_built_in_rules();

  // Read from the registry again: the Touch Bar's default name must not count.
  is_hobbard_virtual_hid_device_ = iokit_utility::is_hobbard_virtual_hid_device(device);

  update_device_identifiers();
}

void device_properties::apply_built_in_rules() {
  const bool keyboard = is_keyboard_.value_or(false);
  const bool pointing_device = is_pointing_device_.value_or(false);

  if (product_) {
    if (*product_ == "TouchBarUserDevice" || *product_ == "Apple Internal Touch Bar") {
      is_built_in_touch_bar_ = true;
    } else if (product_->find("Apple Internal ") != std::string::npos) {
      // A device that is both or neither cannot be told apart by its name.
      if (keyboard && !pointing_device) {
        is_built_in_keyboard_ = true;
      }
      if (!keyboard && pointing_device) {
        is_built_in_pointing_device_ = true;
      }
    }
  }

  // Built-in devices hang on the internal FIFO transport whatever their name.
  if (transport_ == "FIFO") {
    if (keyboard) {
      is_built_in_keyboard_ = true;
    }
    if (pointing_device) {
      is_built_in_pointing_device_ = true;
    }
  }
}

void device_properties::update_device_identifiers() {
  device_identifiers_ = device_identifiers(vendor_id_.value_or(zunto::hid::vendor_id::value_t{0}),
                                           product_id_.value_or(zunto::hid::product_id::value_t{0}),
                                           is_keyboard_.value_or(false), is_pointing_device_.value_or(false),
                                           is_game_pad_.value_or(false), device_address_.value_or(""));
}

bool device_properties::operator==(const device_properties& other) const {
  auto compared = [](const device_properties& p) {
    return std::tie(p.device_id_, p.vendor_id_, p.product_id_, p.location_id_, p.manufacturer_, p.product_,
                    p.serial_number_, p.transport_, p.device_address_, p.is_keyboard_, p.is_pointing_device_,
                    p.is_game_pad_);
  };
  return compared(*this) == compared(other);
}

} // namespace hbd

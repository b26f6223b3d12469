#include "hbd/iokit_utility.hpp"

#include "zunto/cf/make_cf_string.hpp"

namespace hbd::iokit_utility {
namespace {

using zunto::hid::usage_page::generic_desktop;
namespace usage = zunto::hid::usage::generic_desktop;

// What the backend's virtual devices give as their manufacturer: the maker's domain name.
constexpr std::string_view virtual_hid_device_manufacturer = "zunto.org";

} // namespace

bool is_pointing_device(const zunto::osx::iokit_hid_device& device) {
  return device.conforms_to(generic_desktop, usage::pointer) || device.conforms_to(generic_desktop, usage::mouse);
}

bool is_game_pad(const zunto::osx::iokit_hid_device& device) {
  return device.conforms_to(generic_desktop, usage::joystick) || device.conforms_to(generic_desktop, usage::game_pad);
}

bool is_hobbard_virtual_hid_device(platform::iokit::hid_device_ref device) {
  const zunto::osx::iokit_hid_device hid_device(device);
  const auto manufacturer = hid_device.find_string_property(zunto::cf::make_cf_string("Manufacturer").get(), true);
  return manufacturer == virtual_hid_device_manufacturer;
}

} // namespace hbd::iokit_utility

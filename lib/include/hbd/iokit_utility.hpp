#pragma once

#include "platform/iokit/hid_device.hpp"
#include "zunto/osx/iokit_hid_device.hpp"

// Device-kind tests. A device object without a device answers false.
namespace hbd::iokit_utility {

// Generic desktop pointer or mouse.
bool is_pointing_device(const zunto::osx::iokit_hid_device& device);
// Generic desktop joystick or game pad.
bool is_game_pad(const zunto::osx::iokit_hid_device& device);
// Whether the device's "Manufacturer", its own or a parent's, is exactly the backend maker's: one of
// the backend's own virtual devices. False for null.
bool is_hobbard_virtual_hid_device(platform::iokit::hid_device_ref device);

} // namespace hbd::iokit_utility

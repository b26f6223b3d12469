#pragma once

#include "platform/iokit/registry.hpp"

#include <cstdint>
#include <vector>

// HID devices. A registry entry becomes a HID service once it is given the usage pairs it
// conforms to; a device object is made over such a service.
namespace platform::iokit {

struct hid_usage_pair {
  std::uint32_t usage_page = 0;
  std::uint32_t usage = 0;

  bool operator==(const hid_usage_pair&) const = default;
};

// Replaces the pairs the entry conforms to and makes it a HID service (an empty list too).
void registry_entry_set_hid_usage_pairs(registry_entry_ref entry, std::vector<hid_usage_pair> usage_pairs);

class hid_device : public platform::cf::type {
protected:
  hid_device() = default;
};
using hid_device_ref = const hid_device*;

// A new device over the service, with one reference for the caller; the device retains the
// service. Null for a null entry or one that is not a HID service.
hid_device_ref hid_device_create(registry_entry_ref service);

// The device's service; the caller gets no reference of its own. Null for null.
registry_entry_ref hid_device_get_service(hid_device_ref device);

// Whether the service lists the pair; false for null.
bool hid_device_conforms_to(hid_device_ref device, std::uint32_t usage_page, std::uint32_t usage);

} // namespace platform::iokit

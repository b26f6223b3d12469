#pragma once

#include "platform/cf/type.hpp"
#include "platform/iokit/registry.hpp"

#include <string_view>

// Finding registered services by what they are.
namespace platform::iokit {

class matching : public platform::cf::type {
protected:
  matching() = default;
};
using matching_ref = const matching*;

// Both return a new description with one reference for the caller.
// Entries whose class name is class_name; "IOHIDDevice" also finds every HID service, whatever
// its own class.
matching_ref service_matching(std::string_view class_name);
// Entries whose name is name.
matching_ref service_name_matching(std::string_view name);

// Narrows the description. "DeviceUsagePage" and "DeviceUsage" with numbers keep the HID services
// that list a usage pair with that page and usage (each alone: with that part); other keys and
// values are kept and do not narrow. A null value removes the key.
void matching_set_value(matching_ref matching, std::string_view key, platform::cf::type_ref value);

// A new iterator over the registered entries that match, oldest first, with one reference for the
// caller; null for a null description.
iterator_ref get_matching_services(matching_ref matching);

// The oldest registered entry that matches, with one reference for the caller; null when none does.
registry_entry_ref get_matching_service(matching_ref matching);

} // namespace platform::iokit

#pragma once

#include "platform/cf/run_loop.hpp"
#include "platform/iokit/hid_element.hpp"
#include "platform/iokit/io_return.hpp"
#include "platform/iokit/registry.hpp"

#include <cstdint>
#include <vector>

// HID devices. A registry entry becomes a HID service once it is given the usage pairs it
// conforms to; a device object is made over such a service. Calls are safe from any thread;
// callbacks run on the loop the device is scheduled on.
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

// The open option that keeps every other opener away.
inline constexpr std::uint32_t hid_open_seize = 1;

// A new device over the service, with one reference for the caller; the device retains the
// service. Null for a null entry or one that is not a HID service.
hid_device_ref hid_device_create(registry_entry_ref service);

// The device's service; the caller gets no reference of its own. Null for null.
registry_entry_ref hid_device_get_service(hid_device_ref device);

// Whether the service lists the pair; false for null.
bool hid_device_conforms_to(hid_device_ref device, std::uint32_t usage_page, std::uint32_t usage);

// The service's elements, each retained once for the caller; empty for null.
std::vector<hid_element_ref> hid_device_copy_matching_elements(hid_device_ref device);

// Opens the device for input. Fails with a code set by registry_entry_fail_hid_opens, with
// return_no_device once the service is terminated, and with return_exclusive_access while another
// device over the service is open seized (or, for a seizing open, while any is open). Opening an
// open device succeeds and changes nothing.
io_return hid_device_open(hid_device_ref device, std::uint32_t options);
// return_not_open for a device that is not open.
io_return hid_device_close(hid_device_ref device, std::uint32_t options);

using hid_callback = void (*)(void* context, io_return result, void* sender);

// Called once with result 0, on the loop the device is scheduled on, when its service is
// terminated. A null callback unregisters.
void hid_device_register_removal_callback(hid_device_ref device, hid_callback callback, void* context);
// A scheduled device is held until it is unscheduled.
void hid_device_schedule_with_run_loop(hid_device_ref device, platform::cf::run_loop_ref loop);
void hid_device_unschedule_from_run_loop(hid_device_ref device, platform::cf::run_loop_ref loop);

// For tests: the next opens of devices over the service fail with these codes, in order.
void registry_entry_fail_hid_opens(registry_entry_ref entry, std::vector<io_return> codes);
// For tests: how many devices over the service are open.
int registry_entry_get_hid_open_count(registry_entry_ref entry);

} // namespace platform::iokit

#pragma once

#include "platform/iokit/registry.hpp"

#include <cstdint>

// The input elements of a HID service: each key, button or axis, with the range it reports in.
namespace platform::iokit {

class hid_element : public platform::cf::type {
protected:
  hid_element() = default;
};
using hid_element_ref = const hid_element*;

// A new element with one reference for the caller. The range is kept as given, even reversed.
hid_element_ref hid_element_create(std::uint32_t usage_page, std::uint32_t usage, std::int64_t logical_min,
                                   std::int64_t logical_max);

// 0 for null.
std::uint32_t hid_element_get_usage_page(hid_element_ref element);
std::uint32_t hid_element_get_usage(hid_element_ref element);
std::int64_t hid_element_get_logical_min(hid_element_ref element);
std::int64_t hid_element_get_logical_max(hid_element_ref element);

// Appends the element (retained) to the HID service's elements; devices made over the service
// report them in that order.
void registry_entry_add_hid_element(registry_entry_ref entry, hid_element_ref element);

} // namespace platform::iokit

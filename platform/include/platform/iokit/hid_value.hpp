#pragma once

#include "platform/iokit/hid_element.hpp"

#include <cstdint>

// One reported input value of an element.
namespace platform::iokit {

class hid_value : public platform::cf::type {
protected:
  hid_value() = default;
};
using hid_value_ref = const hid_value*;

// A new value with one reference for the caller; it retains the element, which may be null.
hid_value_ref hid_value_create(hid_element_ref element, std::uint64_t time_stamp, std::int64_t integer_value);

// The element without a reference of the caller's own; null for null or a value without one.
hid_element_ref hid_value_get_element(hid_value_ref value);
// 0 for null.
std::uint64_t hid_value_get_time_stamp(hid_value_ref value);
std::int64_t hid_value_get_integer_value(hid_value_ref value);

// A simulated device reports a value: every started queue over the service that holds the
// value's element (or any element, for a value without one) gets it, when it has room, and its
// value-available callback is called on the loop where the queue is scheduled.
void registry_entry_report_hid_value(registry_entry_ref entry, hid_value_ref value);

} // namespace platform::iokit

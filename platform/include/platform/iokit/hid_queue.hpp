#pragma once

#include "platform/cf/run_loop.hpp"
#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/hid_value.hpp"

#include <cstddef>

// Queues of input values: a started queue keeps the values its device's service reports for the
// queue's elements, up to its depth (later values are lost), until they are copied out.
namespace platform::iokit {

class hid_queue : public platform::cf::type {
protected:
  hid_queue() = default;
};
using hid_queue_ref = const hid_queue*;

// A new stopped queue with one reference for the caller; null for a null device or depth 0.
hid_queue_ref hid_queue_create(hid_device_ref device, std::size_t depth);

void hid_queue_add_element(hid_queue_ref queue, hid_element_ref element);

// Called with result 0 on the loop the queue is scheduled on whenever values have arrived since
// the last call. A null callback unregisters.
void hid_queue_register_value_available_callback(hid_queue_ref queue, hid_callback callback, void* context);
void hid_queue_schedule_with_run_loop(hid_queue_ref queue, platform::cf::run_loop_ref loop);
void hid_queue_unschedule_from_run_loop(hid_queue_ref queue, platform::cf::run_loop_ref loop);

// A started queue is held until it is stopped; stopping drops the values it still keeps.
void hid_queue_start(hid_queue_ref queue);
void hid_queue_stop(hid_queue_ref queue);

// The oldest kept value with one reference for the caller; null when there is none. Never waits.
hid_value_ref hid_queue_copy_next_value(hid_queue_ref queue);

} // namespace platform::iokit

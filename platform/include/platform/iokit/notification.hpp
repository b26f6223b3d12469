#pragma once

#include "platform/cf/run_loop.hpp"
#include "platform/iokit/io_return.hpp"
#include "platform/iokit/matching.hpp"

// Notifications of services that appear in the registry or leave it, delivered through a port
// whose run-loop source the caller adds to a loop.
namespace platform::iokit {

class notification_port : public platform::cf::type {
protected:
  notification_port() = default;
};
using notification_port_ref = const notification_port*;

enum class notification_type {
  // Each registered service the first time it matches: those present when the notification is
  // added are in the iterator it returns; later ones are reported through the callback.
  first_match,
  // Each matching service when it is terminated.
  terminate,
};

// Called on the loop that has the port's source, with the iterator that holds the new services;
// the callback drains it.
using service_notification_callback = void (*)(void* context, iterator_ref iterator);

// A new port with one reference for the caller; null when a test made creation fail.
notification_port_ref notification_port_create();
// Ends the port's notifications and gives up the caller's reference.
void notification_port_destroy(notification_port_ref port);
// The port's source; the caller gets no reference of its own. Null for null.
platform::cf::run_loop_source_ref notification_port_get_run_loop_source(notification_port_ref port);

// Consumes one reference to matching, also on failure. On success *iterator gets the
// notification's iterator with one reference for the caller; it lives with the port.
io_return service_add_matching_notification(notification_port_ref port, notification_type type, matching_ref matching,
                                            service_notification_callback callback, void* context,
                                            iterator_ref* iterator);

// For tests: the next `count` port creations fail, and the next `count` notifications fail with
// `code`.
void fail_notification_port_creates(int count);
void fail_matching_notifications(io_return code, int count);

} // namespace platform::iokit

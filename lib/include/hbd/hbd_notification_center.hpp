#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <memory>

namespace hbd::hbd_notification_center {

// The process-wide announcement that manipulators have put new entries into an output queue, so
// the queues are processed again.
class core final {
public:
  // Emits the signal from a job of the client, due at once; dropped when the client detaches first.
  void enqueue_input_event_arrived(zunto::dispatcher::extra::dispatcher_client& client);

  nod::signal_type<nod::multithread_policy, void()> input_event_arrived;
};

// Created on first use and kept until the process ends.
core& get_instance();

} // namespace hbd::hbd_notification_center

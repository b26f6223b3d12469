#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "platform/iokit/matching.hpp"
#include "platform/iokit/notification.hpp"
#include "zunto/cf/cf_ptr.hpp"
#include "zunto/cf/run_loop_thread.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/osx/iokit_iterator.hpp"
#include "zunto/osx/iokit_registry_entry.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"
#include "zunto/osx/kern_return.hpp"

#include <memory>
#include <string>
#include <vector>

namespace zunto::osx {

// Reports the services that match one description: those present at start and every later one,
// and each one that is terminated. The notifications live on the run-loop thread; every signal is
// emitted on the dispatcher thread.
class iokit_service_monitor final : private dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy,
                   void(iokit_registry_entry_id::value_t registry_entry_id, const iokit_registry_entry& service)>
      service_matched;
  nod::signal_type<nod::multithread_policy, void(iokit_registry_entry_id::value_t registry_entry_id)>
      service_terminated;
  nod::signal_type<nod::multithread_policy, void(const std::string& message, kern_return kr)> error_occurred;

  // Retains the description, which may be null (then nothing is ever reported).
  iokit_service_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                        std::shared_ptr<cf::run_loop_thread> run_loop_thread, platform::iokit::matching_ref matching);
  // Detaches, then stops on the run-loop thread and waits for that; never call it on that thread.
  ~iokit_service_monitor() override;

  // Arms whatever is still missing (the port, then each notification) on the run-loop thread.
  void async_start();

private:
  static void static_matched_callback(void* context, platform::iokit::iterator_ref iterator);
  static void static_terminated_callback(void* context, platform::iokit::iterator_ref iterator);

  // On the run-loop thread.
  void start();
  void stop();
  // Gives the error when the notification could not be added.
  void arm(platform::iokit::notification_type type, iokit_iterator& notification);
  void matched(const std::vector<iokit_registry_entry>& services);
  void terminated(const std::vector<iokit_registry_entry>& services);

  void enqueue_error_occurred(const std::string& message, kern_return kr);

  std::shared_ptr<cf::run_loop_thread> run_loop_thread_;
  cf::cf_ptr<platform::iokit::matching_ref> matching_;
  platform::iokit::notification_port_ref notification_port_ = nullptr;
  iokit_iterator matched_notification_;
  iokit_iterator terminated_notification_;
};

} // namespace zunto::osx

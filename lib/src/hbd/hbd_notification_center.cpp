#include "hbd/hbd_notification_center.hpp"

#include "hbd/logger.hpp"

#include <exception>
#include <mutex>

namespace hbd::hbd_notification_center {

void core::enqueue_input_event_arrived(zunto::dispatcher::extra::dispatcher_client& client) {
  client.enqueue_to_dispatcher(
      [this] {
        try {
          input_event_arrived();
        } catch (const std::exception& e) {
          logger::get_logger()->error("input_event_arrived: {0}", e.what());
        }
      },
      zunto::dispatcher::time_point(1));
}

core& get_instance() {
  static std::mutex mutex;
  static core* instance = nullptr;
  std::lock_guard lock(mutex);
  if (instance == nullptr) {
    // Never destroyed: jobs of other threads may still emit while the process exits.
    instance = new core();
  }
  return *instance;
}

} // namespace hbd::hbd_notification_center

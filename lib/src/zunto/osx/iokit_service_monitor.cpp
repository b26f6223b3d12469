#include "zunto/osx/iokit_service_monitor.hpp"

#include "zunto/thread_wait.hpp"

namespace zunto::osx {
namespace {

constexpr kern_return io_return_error{platform::iokit::return_error};

std::vector<iokit_registry_entry> drain(const iokit_iterator& iterator) {
  std::vector<iokit_registry_entry> services;
  while (auto service = iterator.next()) {
    services.push_back(std::move(service));
  }
  return services;
}

} // namespace

iokit_service_monitor::iokit_service_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                                             std::shared_ptr<cf::run_loop_thread> run_loop_thread,
                                             platform::iokit::matching_ref matching)
    : dispatcher_client(std::move(weak_dispatcher)),
      run_loop_thread_(std::move(run_loop_thread)),
      matching_(matching) {}

iokit_service_monitor::~iokit_service_monitor() {
  detach_from_dispatcher();

  run_loop_thread_->enqueue([this] { stop(); });
  auto wait = make_thread_wait();
  run_loop_thread_->enqueue([wait] { wait->notify(); });
  wait->wait_notice();
}

void iokit_service_monitor::async_start() {
  run_loop_thread_->enqueue([this] { start(); });
}

void iokit_service_monitor::start() {
  if (notification_port_ == nullptr) {
    notification_port_ = platform::iokit::notification_port_create();
    if (notification_port_ == nullptr) {
      enqueue_error_occurred("IONotificationPortCreate is failed.", io_return_error);
      return;
    }
    auto source = platform::iokit::notification_port_get_run_loop_source(notification_port_);
    if (source == nullptr) {
      enqueue_error_occurred("IONotificationPortGetRunLoopSource is failed.", io_return_error);
      return;
    }
    run_loop_thread_->add_source(source);
  }

  if (!matched_notification_ && matching_) {
    arm(platform::iokit::notification_type::first_match, matched_notification_);
    if (matched_notification_) {
      matched(drain(matched_notification_));
    }
  }
  if (!terminated_notification_ && matching_) {
    arm(platform::iokit::notification_type::terminate, terminated_notification_);
    if (terminated_notification_) {
      terminated(drain(terminated_notification_));
    }
  }
}

void iokit_service_monitor::arm(platform::iokit::notification_type type, iokit_iterator& notification) {
  // The call takes over one reference.
  platform::cf::retain(matching_.get());
  platform::iokit::iterator_ref iterator = nullptr;
  const auto kr = platform::iokit::service_add_matching_notification(
      notification_port_, type, matching_.get(),
      type == platform::iokit::notification_type::first_match ? &static_matched_callback : &static_terminated_callback,
      this, &iterator);
  if (kr != platform::iokit::return_success) {
    enqueue_error_occurred("IOServiceAddMatchingNotification is failed.", kern_return(kr));
    return;
  }
  notification = iokit_iterator(iterator);
  platform::cf::release(iterator);
}

void iokit_service_monitor::stop() {
  matched_notification_ = iokit_iterator();
  terminated_notification_ = iokit_iterator();
  if (notification_port_ != nullptr) {
    if (auto source = platform::iokit::notification_port_get_run_loop_source(notification_port_)) {
      run_loop_thread_->remove_source(source);
    }
    platform::iokit::notification_port_destroy(notification_port_);
    notification_port_ = nullptr;
  }
}

void iokit_service_monitor::static_matched_callback(void* context, platform::iokit::iterator_ref iterator) {
  auto* self = static_cast<iokit_service_monitor*>(context);
  if (self == nullptr) {
    return;
  }
  // Already on the run-loop thread. Handled here rather than in a block of its own, which could
  // come after the destructor's last block and so after this object is gone.
  self->matched(drain(iokit_iterator(iterator)));
}

void iokit_service_monitor::static_terminated_callback(void* context, platform::iokit::iterator_ref iterator) {
  auto* self = static_cast<iokit_service_monitor*>(context);
  if (self == nullptr) {
    return;
  }
  self->terminated(drain(iokit_iterator(iterator)));
}

void iokit_service_monitor::matched(const std::vector<iokit_registry_entry>& services) {
  for (const auto& service : services) {
    if (auto id = service.find_registry_entry_id()) {
      enqueue_to_dispatcher([this, id = *id, service] { service_matched(id, service); }, dispatcher::time_point(1));
    }
  }
}

void iokit_service_monitor::terminated(const std::vector<iokit_registry_entry>& services) {
  for (const auto& service : services) {
    if (auto id = service.find_registry_entry_id()) {
      enqueue_to_dispatcher([this, id = *id] { service_terminated(id); }, dispatcher::time_point(1));
    }
  }
}

void iokit_service_monitor::enqueue_error_occurred(const std::string& message, kern_return kr) {
  enqueue_to_dispatcher([this, message, kr] { error_occurred(message, kr); }, dispatcher::time_point(1));
}

} // namespace zunto::osx

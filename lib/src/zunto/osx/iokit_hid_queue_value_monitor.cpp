#include "zunto/osx/iokit_hid_queue_value_monitor.hpp"

#include "zunto/thread_wait.hpp"

namespace zunto::osx {
namespace {

constexpr std::size_t queue_depth = 1024;

} // namespace

iokit_hid_queue_value_monitor::iokit_hid_queue_value_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                                                             std::shared_ptr<cf::run_loop_thread> run_loop_thread,
                                                             platform::iokit::hid_device_ref device)
    : dispatcher_client(std::move(weak_dispatcher)),
      run_loop_thread_(std::move(run_loop_thread)),
      device_(device),
      open_timer_(*this) {
  run_loop_thread_->enqueue([this] {
    if (auto d = device_.get_device()) {
      platform::iokit::hid_device_register_removal_callback(d, &static_device_removal_callback, this);
      platform::iokit::hid_device_schedule_with_run_loop(d, run_loop_thread_->get_run_loop());
      scheduled_ = true;
    }
  });
}

iokit_hid_queue_value_monitor::~iokit_hid_queue_value_monitor() {
  detach_from_dispatcher();

  run_loop_thread_->enqueue([this] {
    stop();
    if (auto d = device_.get_device(); d != nullptr && scheduled_) {
      platform::iokit::hid_device_register_removal_callback(d, nullptr, nullptr);
      platform::iokit::hid_device_unschedule_from_run_loop(d, run_loop_thread_->get_run_loop());
      scheduled_ = false;
    }
  });
  auto wait = make_thread_wait();
  run_loop_thread_->enqueue([wait] { wait->notify(); });
  wait->wait_notice();
}

void iokit_hid_queue_value_monitor::async_start(std::uint32_t open_options,
                                                std::chrono::milliseconds open_retry_interval) {
  open_timer_.start([this, open_options] { run_loop_thread_->enqueue([this, open_options] { start(open_options); }); },
                    open_retry_interval);
}

void iokit_hid_queue_value_monitor::start(std::uint32_t open_options) {
  auto d = device_.get_device();
  if (d == nullptr) {
    open_timer_.stop();
    return;
  }

  if (!queue_) {
    start_queue();
  }

  if (opened_) {
    open_timer_.stop();
    return;
  }

  const iokit_return kr(platform::iokit::hid_device_open(d, open_options));
  if (kr.success()) {
    open_options_ = open_options;
    opened_ = true;
    enqueue_to_dispatcher([this] { started(); }, dispatcher::time_point(1));
    open_timer_.stop();
  } else if (last_open_error_.success()) {
    last_open_error_ = kr;
    enqueue_to_dispatcher([this, kr] { error_occurred("IOHIDDeviceOpen is failed.", kr); }, dispatcher::time_point(1));
  }
}

void iokit_hid_queue_value_monitor::start_queue() {
  queue_ = device_.make_queue(queue_depth);
  if (!queue_) {
    return;
  }
  for (const auto& element : device_.make_elements()) {
    platform::iokit::hid_queue_add_element(queue_.get(), element.get());
  }
  platform::iokit::hid_queue_register_value_available_callback(queue_.get(), &static_value_available_callback, this);
  platform::iokit::hid_queue_schedule_with_run_loop(queue_.get(), run_loop_thread_->get_run_loop());
  platform::iokit::hid_queue_start(queue_.get());
}

void iokit_hid_queue_value_monitor::stop() {
  auto d = device_.get_device();
  if (d != nullptr) {
    if (queue_) {
      platform::iokit::hid_queue_stop(queue_.get());
      platform::iokit::hid_queue_register_value_available_callback(queue_.get(), nullptr, nullptr);
      platform::iokit::hid_queue_unschedule_from_run_loop(queue_.get(), run_loop_thread_->get_run_loop());
      queue_.reset();
    }
    if (opened_) {
      platform::iokit::hid_device_close(d, open_options_);
      opened_ = false;
      enqueue_to_dispatcher([this] { stopped(); }, dispatcher::time_point(1));
    }
  }
  open_timer_.stop();
}

void iokit_hid_queue_value_monitor::drain_queue() {
  if (!queue_) {
    return;
  }
  auto values = std::make_shared<values_t>();
  while (auto value = platform::iokit::hid_queue_copy_next_value(queue_.get())) {
    values->emplace_back(value);
    platform::cf::release(value);
  }
  // Values that arrive before the device is open are not the device's input yet.
  if (opened_ && !values->empty()) {
    enqueue_to_dispatcher([this, values] { values_arrived(values); }, dispatcher::time_point(1));
  }
}

void iokit_hid_queue_value_monitor::static_device_removal_callback(void* context, platform::iokit::io_return result,
                                                                   void*) {
  auto* self = static_cast<iokit_hid_queue_value_monitor*>(context);
  if (self == nullptr || result != platform::iokit::return_success) {
    return;
  }
  // Already on the run-loop thread. Handled here rather than in a block of its own, which could
  // come after the destructor's last block and so after this object is gone.
  self->stop();
}

void iokit_hid_queue_value_monitor::static_value_available_callback(void* context, platform::iokit::io_return result,
                                                                    void*) {
  auto* self = static_cast<iokit_hid_queue_value_monitor*>(context);
  if (self == nullptr || result != platform::iokit::return_success) {
    return;
  }
  // Already on the run-loop thread; see the removal callback.
  self->drain_queue();
}

} // namespace zunto::osx

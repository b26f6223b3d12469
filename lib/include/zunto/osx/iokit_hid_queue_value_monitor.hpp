#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/hid_queue.hpp"
#include "platform/iokit/hid_value.hpp"
#include "zunto/cf/cf_ptr.hpp"
#include "zunto/cf/run_loop_thread.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/timer.hpp"
#include "zunto/osx/iokit_hid_device.hpp"
#include "zunto/osx/iokit_return.hpp"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zunto::osx {

// Opens one HID device, retrying on a timer until it opens, and hands over the values of all its
// elements in batches. The device work runs on the run-loop thread; every signal is emitted on the
// dispatcher thread.
class iokit_hid_queue_value_monitor final : public dispatcher::extra::dispatcher_client {
public:
  using values_t = std::vector<cf::cf_ptr<platform::iokit::hid_value_ref>>;

  // The device was opened.
  nod::signal_type<nod::multithread_policy, void()> started;
  // The device was closed.
  nod::signal_type<nod::multithread_policy, void()> stopped;
  nod::signal_type<nod::multithread_policy, void(std::shared_ptr<values_t> values)> values_arrived;
  // The first failed open of the monitor's life; later failures are not reported.
  nod::signal_type<nod::multithread_policy, void(const std::string& message, iokit_return kr)> error_occurred;

  // Schedules the device on the run-loop thread and listens for its removal.
  iokit_hid_queue_value_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                                std::shared_ptr<cf::run_loop_thread> run_loop_thread,
                                platform::iokit::hid_device_ref device);
  // Detaches, then stops and unschedules on the run-loop thread and waits for that; never call it
  // on that thread.
  ~iokit_hid_queue_value_monitor() override;

  // Tries to open the device at once and then every interval until it opens.
  void async_start(std::uint32_t open_options, std::chrono::milliseconds open_retry_interval);

private:
  static void static_device_removal_callback(void* context, platform::iokit::io_return result, void* sender);
  static void static_value_available_callback(void* context, platform::iokit::io_return result, void* sender);

  // On the run-loop thread.
  void start(std::uint32_t open_options);
  void start_queue();
  void stop();
  void drain_queue();

  std::shared_ptr<cf::run_loop_thread> run_loop_thread_;
  iokit_hid_device device_;
  bool scheduled_ = false;
  dispatcher::extra::timer open_timer_;
  std::uint32_t open_options_ = 0;
  bool opened_ = false;
  iokit_return last_open_error_;
  cf::cf_ptr<platform::iokit::hid_queue_ref> queue_;
};

} // namespace zunto::osx

#include "hid_value_monitor.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/hat_switch_converter.hpp"
#include "hbd/logger.hpp"
#include "zunto/cf/run_loop_thread/extra/shared_run_loop_thread.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/hid/usage.hpp"
#include "zunto/hid/usage_page.hpp"
#include "zunto/osx/iokit_hid_value.hpp"

#include <stdexcept>

namespace {

constexpr std::uint32_t open_options_no_seize = 0;
constexpr std::chrono::milliseconds open_retry_interval(3000);

} // namespace

libhbd_hid_value_monitor::libhbd_hid_value_monitor(libhbd_hid_value_monitor_callback callback, void* context) {
  hbd::logger::get_logger()->info("libhbd_hid_value_monitor");

  auto run_loop_thread = zunto::cf::run_loop_thread::extra::get_shared_run_loop_thread();
  if (!run_loop_thread) {
    throw std::runtime_error("the shared run-loop thread is not running");
  }
  const auto dispatcher = zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher();

  using zunto::hid::usage_page::generic_desktop;
  namespace usage = zunto::hid::usage::generic_desktop;
  std::vector<zunto::osx::iokit_hid_manager::matching_dictionary> matching_dictionaries;
  for (auto u : {usage::keyboard, usage::mouse, usage::pointer, usage::joystick, usage::game_pad}) {
    matching_dictionaries.push_back(zunto::osx::iokit_hid_manager::make_matching_dictionary(generic_desktop, u));
  }

  hid_manager_ = std::make_unique<zunto::osx::iokit_hid_manager>(
      dispatcher, run_loop_thread, std::move(matching_dictionaries), std::chrono::milliseconds(0));

  hid_manager_->device_matched.connect([this, callback, context, dispatcher, run_loop_thread,
                                        alive = alive_](zunto::osx::iokit_registry_entry_id::value_t registry_entry_id,
                                                        zunto::cf::cf_ptr<platform::iokit::hid_device_ref> device) {
    if (!device) {
      return;
    }
    auto monitor =
        std::make_shared<zunto::osx::iokit_hid_queue_value_monitor>(dispatcher, run_loop_thread, device.get());
    monitor->started.connect([this] { observed_.exchange(true); });
    monitor->values_arrived.connect([callback, context, registry_entry_id, alive](
                                        std::shared_ptr<zunto::osx::iokit_hid_queue_value_monitor::values_t> values) {
      values_arrived(callback, context, registry_entry_id, values, *alive);
    });
    // The replaced monitor, if any, closes its device here.
    hid_queue_value_monitors_[registry_entry_id] = monitor;
    monitor->async_start(open_options_no_seize, open_retry_interval);
  });

  hid_manager_->device_terminated.connect([this](zunto::osx::iokit_registry_entry_id::value_t registry_entry_id) {
    hid_queue_value_monitors_.erase(registry_entry_id);
    hbd::hat_switch_converter::get_global_hat_switch_converter()->erase_device(registry_entry_id);
  });

  hid_manager_->error_occurred.connect([](const std::string& message, zunto::osx::kern_return kr) {
    hbd::logger::get_logger()->error("{0}: {1}", message, kr.to_string());
  });

  hid_manager_->async_start();
}

libhbd_hid_value_monitor::~libhbd_hid_value_monitor() {
  hbd::logger::get_logger()->info("~libhbd_hid_value_monitor");
  *alive_ = false;
  // The manager's slots fill the map; once it is gone, nothing else touches it.
  hid_manager_ = nullptr;
  hid_queue_value_monitors_.clear();
}

void libhbd_hid_value_monitor::values_arrived(
    libhbd_hid_value_monitor_callback callback, void* context,
    zunto::osx::iokit_registry_entry_id::value_t registry_entry_id,
    const std::shared_ptr<zunto::osx::iokit_hid_queue_value_monitor::values_t>& values,
    const std::atomic<bool>& alive) {
  if (callback == nullptr || !values) {
    return;
  }
  for (const auto& value : *values) {
    if (!alive) {
      return;
    }
    const zunto::osx::iokit_hid_value v(value.get());
    if (v.get_usage_page() && v.get_usage() && v.get_logical_max() && v.get_logical_min()) {
      callback(static_cast<std::uint64_t>(registry_entry_id), static_cast<std::int32_t>(*v.get_usage_page()),
               static_cast<std::int32_t>(*v.get_usage()), *v.get_logical_max(), *v.get_logical_min(),
               v.get_integer_value(), context);
    }
  }
}

void libhbd_enable_hid_value_monitor(libhbd_hid_value_monitor_callback callback, void* context) {
  libhbd::guard_entry_point("libhbd_enable_hid_value_monitor", [&] {
    libhbd::enable_member(&libhbd_components_manager::hid_value_monitor,
                          [&] { return std::make_shared<libhbd_hid_value_monitor>(callback, context); });
  });
}

void libhbd_disable_hid_value_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_hid_value_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::hid_value_monitor); });
}

bool libhbd_hid_value_monitor_observed(void) {
  return libhbd::guard_entry_point("libhbd_hid_value_monitor_observed", false, [] {
    libhbd::components_manager_use use;
    if (!use) {
      return false;
    }
    auto monitor = (*use).hid_value_monitor.get();
    return monitor && monitor->observed();
  });
}

#include "components_manager.hpp"

#include "entry_point.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/logger.hpp"
#include "hbd/run_loop_thread_utility.hpp"
#include "libhbd.h"
#include "platform/command/command.hpp"
#include "platform/fsevents/stream.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

#include <condition_variable>
#include <cstddef>
#include <string>

namespace {

// The interface's process-wide owners. Never freed: process exit must not stop running threads
// behind an application that did not terminate the library.
struct frame_state {
  // Serialises initialize and terminate, which start and join threads.
  std::mutex lifecycle_mutex;
  // Guards the three owners and the count of uses; held only to copy or move them.
  std::mutex mutex;
  std::condition_variable uses_ended;
  std::size_t uses = 0;
  std::shared_ptr<hbd::dispatcher_utility::scoped_dispatcher_manager> dispatcher_manager;
  std::shared_ptr<hbd::run_loop_thread_utility::scoped_run_loop_thread_manager> run_loop_thread_manager;
  std::shared_ptr<libhbd_components_manager> components_manager;
};

frame_state& get_frame_state() {
  static auto* const state = new frame_state();
  return *state;
}

} // namespace

libhbd_components_manager::~libhbd_components_manager() {
  // Each member is gone before the next one is taken out.
  grabber_client.exchange(nullptr);
  hid_value_monitor.exchange(nullptr);
  log_monitor.exchange(nullptr);
  frontmost_application_monitor.exchange(nullptr);
  notification_message_json_file_monitor.exchange(nullptr);
  manipulator_environment_json_file_monitor.exchange(nullptr);
  device_details_json_file_monitor.exchange(nullptr);
  grabber_state_json_file_monitor.exchange(nullptr);
  observer_state_json_file_monitor.exchange(nullptr);
  connected_devices_monitor.exchange(nullptr);
  system_preferences_monitor.exchange(nullptr);
  complex_modifications_assets_manager.exchange(nullptr);
  configuration_monitor.exchange(nullptr);
  version_monitor.exchange(nullptr);
}

namespace libhbd {

components_manager_use::components_manager_use() {
  auto& state = get_frame_state();
  std::lock_guard lock(state.mutex);
  manager_ = state.components_manager;
  if (manager_) {
    ++state.uses;
  }
}

components_manager_use::~components_manager_use() {
  if (!manager_) {
    return;
  }
  // Dropped before the count, so that terminate finds itself the only owner once it reaches 0.
  manager_.reset();
  auto& state = get_frame_state();
  {
    std::lock_guard lock(state.mutex);
    --state.uses;
  }
  state.uses_ended.notify_all();
}

void log_entry_point_error(std::string_view entry_point, std::string_view message) {
  hbd::logger::get_logger()->error("{0}: {1}", entry_point, message);
}

bool on_shared_dispatcher_thread() noexcept {
  try {
    const auto dispatcher = zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher();
    return dispatcher && dispatcher->dispatcher_thread();
  } catch (...) {
    return false;
  }
}

} // namespace libhbd

void libhbd_initialize(void) {
  libhbd::guard_entry_point("libhbd_initialize", [] {
    // A terminate running on another thread holds the lifecycle and waits for this callback to
    // end, so waiting here for the lifecycle would never end.
    if (libhbd::on_shared_dispatcher_thread()) {
      hbd::logger::get_logger()->error("libhbd_initialize is refused on the dispatcher thread");
      return;
    }

    hbd::logger::get_logger()->info("libhbd_initialize");
    // One line for a missing program (a backend that is not installed) instead of the shell's message
    // at every command.
    platform::command::set_missing_program_reporter([](const std::string& program) {
      hbd::logger::get_logger()->warn("{0} is missing: commands that run it do nothing", program);
    });

    auto& state = get_frame_state();
    std::lock_guard lifecycle(state.lifecycle_mutex);
    bool dispatcher_manager_exists = false;
    bool run_loop_thread_manager_exists = false;
    bool components_manager_exists = false;
    {
      std::lock_guard lock(state.mutex);
      dispatcher_manager_exists = state.dispatcher_manager != nullptr;
      run_loop_thread_manager_exists = state.run_loop_thread_manager != nullptr;
      components_manager_exists = state.components_manager != nullptr;
    }
    // Each is built outside the small lock: building starts threads.
    if (!dispatcher_manager_exists) {
      auto manager = std::make_shared<hbd::dispatcher_utility::scoped_dispatcher_manager>();
      std::lock_guard lock(state.mutex);
      state.dispatcher_manager = std::move(manager);
    }
    if (!run_loop_thread_manager_exists) {
      auto manager = std::make_shared<hbd::run_loop_thread_utility::scoped_run_loop_thread_manager>();
      std::lock_guard lock(state.mutex);
      state.run_loop_thread_manager = std::move(manager);
    }
    if (!components_manager_exists) {
      auto manager = std::make_shared<libhbd_components_manager>();
      std::lock_guard lock(state.mutex);
      state.components_manager = std::move(manager);
    }
  });
}

void libhbd_terminate(void) {
  libhbd::guard_entry_point("libhbd_terminate", [] {
    // Terminating joins the dispatcher's thread, which would then wait for itself.
    if (libhbd::on_shared_dispatcher_thread()) {
      hbd::logger::get_logger()->error("libhbd_terminate is refused on the dispatcher thread");
      return;
    }

    hbd::logger::get_logger()->info("libhbd_terminate");

    auto& state = get_frame_state();
    std::lock_guard lifecycle(state.lifecycle_mutex);
    std::shared_ptr<libhbd_components_manager> components_manager;
    std::shared_ptr<hbd::run_loop_thread_utility::scoped_run_loop_thread_manager> run_loop_thread_manager;
    std::shared_ptr<hbd::dispatcher_utility::scoped_dispatcher_manager> dispatcher_manager;
    {
      std::unique_lock lock(state.mutex);
      // No new use can begin; the ones running (an enable on another thread, a callback's call on
      // the dispatcher thread) end before anything is destroyed.
      components_manager = std::move(state.components_manager);
      state.uses_ended.wait(lock, [&] { return state.uses == 0; });
      run_loop_thread_manager = std::move(state.run_loop_thread_manager);
      dispatcher_manager = std::move(state.dispatcher_manager);
    }
    // Members first, while the dispatcher still runs their final jobs.
    components_manager.reset();
    run_loop_thread_manager.reset();
    dispatcher_manager.reset();
    // The members' file-event descriptors are closed in the background; terminate returns them.
    platform::fsevents::wait_for_stopped_streams();
  });
}

void libhbd_set_logging_level_off(void) {
  libhbd::guard_entry_point("libhbd_set_logging_level_off",
                            [] { hbd::logger::get_logger()->set_level(spdlog::level::off); });
}

void libhbd_set_logging_level_info(void) {
  libhbd::guard_entry_point("libhbd_set_logging_level_info",
                            [] { hbd::logger::get_logger()->set_level(spdlog::level::info); });
}

#include "file_monitor.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/filesystem/filesystem.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <nlohmann/json.hpp>

#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>

libhbd_file_monitor::libhbd_file_monitor(const std::string& path, libhbd_file_monitor_callback callback,
                                         void* context) {
  hbd::logger::get_logger()->info("{0} {1}", "libhbd_file_monitor", path);

  file_monitor_ = std::make_unique<zunto::osx::file_monitor>(
      zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher(),
      std::vector<std::string>{path}, hbd::logger::get_logger());
  // The slot holds copies only: this object may be destroyed from inside the callback.
  file_monitor_->file_changed.connect(
      [callback, context](const std::string& changed_file_path, const std::shared_ptr<std::vector<std::uint8_t>>&) {
        if (callback != nullptr) {
          callback(changed_file_path.c_str(), context);
        }
      });
  file_monitor_->async_start();
}

libhbd_file_monitor::~libhbd_file_monitor() {
  hbd::logger::get_logger()->info("~libhbd_file_monitor");
  file_monitor_ = nullptr;
}

namespace {

using slot_type = libhbd_components_manager_slot<libhbd_file_monitor> libhbd_components_manager::*;

void enable(std::string_view entry_point, slot_type slot, const std::filesystem::path& path,
            libhbd_file_monitor_callback callback, void* context) {
  libhbd::guard_entry_point(entry_point, [&] {
    libhbd::enable_member(slot,
                          [&] { return std::make_shared<libhbd_file_monitor>(path.string(), callback, context); });
  });
}

void disable(std::string_view entry_point, slot_type slot) {
  libhbd::guard_entry_point(entry_point, [&] { libhbd::disable_member(slot); });
}

} // namespace

void libhbd_enable_observer_state_json_file_monitor(libhbd_file_monitor_callback callback, void* context) {
  enable("libhbd_enable_observer_state_json_file_monitor", &libhbd_components_manager::observer_state_json_file_monitor,
         hbd::constants::get_observer_state_json_file_path(), callback, context);
}

void libhbd_disable_observer_state_json_file_monitor(void) {
  disable("libhbd_disable_observer_state_json_file_monitor",
          &libhbd_components_manager::observer_state_json_file_monitor);
}

void libhbd_enable_grabber_state_json_file_monitor(libhbd_file_monitor_callback callback, void* context) {
  enable("libhbd_enable_grabber_state_json_file_monitor", &libhbd_components_manager::grabber_state_json_file_monitor,
         hbd::constants::get_grabber_state_json_file_path(), callback, context);
}

void libhbd_disable_grabber_state_json_file_monitor(void) {
  disable("libhbd_disable_grabber_state_json_file_monitor",
          &libhbd_components_manager::grabber_state_json_file_monitor);
}

void libhbd_enable_device_details_json_file_monitor(libhbd_file_monitor_callback callback, void* context) {
  enable("libhbd_enable_device_details_json_file_monitor", &libhbd_components_manager::device_details_json_file_monitor,
         hbd::constants::get_device_details_json_file_path(), callback, context);
}

void libhbd_disable_device_details_json_file_monitor(void) {
  disable("libhbd_disable_device_details_json_file_monitor",
          &libhbd_components_manager::device_details_json_file_monitor);
}

void libhbd_enable_manipulator_environment_json_file_monitor(libhbd_file_monitor_callback callback, void* context) {
  enable("libhbd_enable_manipulator_environment_json_file_monitor",
         &libhbd_components_manager::manipulator_environment_json_file_monitor,
         hbd::constants::get_manipulator_environment_json_file_path(), callback, context);
}

void libhbd_disable_manipulator_environment_json_file_monitor(void) {
  disable("libhbd_disable_manipulator_environment_json_file_monitor",
          &libhbd_components_manager::manipulator_environment_json_file_monitor);
}

void libhbd_enable_notification_message_json_file_monitor(libhbd_file_monitor_callback callback, void* context) {
  enable("libhbd_enable_notification_message_json_file_monitor",
         &libhbd_components_manager::notification_message_json_file_monitor,
         hbd::constants::get_notification_message_file_path(), callback, context);
}

void libhbd_disable_notification_message_json_file_monitor(void) {
  disable("libhbd_disable_notification_message_json_file_monitor",
          &libhbd_components_manager::notification_message_json_file_monitor);
}

const char* libhbd_get_notification_message_body(void) {
  return libhbd::guard_entry_point("libhbd_get_notification_message_body", "", [] {
    // The last body read is shared by every thread; each caller gets its own copy of it, which
    // another thread's call cannot rewrite.
    static std::mutex mutex;
    static std::string body;
    thread_local std::string copy;

    // Read without the lock, and without blocking on a FIFO or reading a device: an unreadable
    // file leaves the last body as it was.
    std::optional<std::string> new_body;
    if (const auto text = zunto::filesystem::read_regular_file(hbd::constants::get_notification_message_file_path(),
                                                               zunto::osx::file_monitor::maximum_file_size)) {
      try {
        new_body = zunto::json::parse_with_depth_limit(*text).at("body").get<std::string>();
      } catch (const std::exception&) {
        new_body.emplace();
      }
    }

    std::lock_guard lock(mutex);
    if (new_body) {
      body = std::move(*new_body);
    }
    copy = body;
    return copy.c_str();
  });
}

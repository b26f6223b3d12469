#include "log_monitor.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

#include <fmt/format.h>

#include <unistd.h>

#include <deque>

namespace {

constexpr std::size_t max_line_count = 250;
constexpr std::chrono::milliseconds poll_interval(1000);

using log_lines = std::shared_ptr<std::deque<std::string>>;

} // namespace

libhbd_log_monitor::libhbd_log_monitor(libhbd_log_monitor_callback callback, void* context) {
  hbd::logger::get_logger()->info("libhbd_log_monitor");

  monitor_ = std::make_unique<zunto::spdlog::monitor>(
      zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher(), log_file_paths(),
      max_line_count);
  // The slot holds copies only: this object may be destroyed from inside the callback.
  monitor_->log_file_updated.connect([callback, context](log_lines lines) {
    if (callback == nullptr) {
      return;
    }
    // The receiver reads the lines through the handle during the call only.
    auto handle = std::make_unique<log_lines>(std::move(lines));
    callback(handle.get(), context);
  });
  monitor_->async_start(poll_interval);
}

libhbd_log_monitor::~libhbd_log_monitor() {
  hbd::logger::get_logger()->info("~libhbd_log_monitor");
  monitor_ = nullptr;
}

std::vector<std::string> libhbd_log_monitor::log_file_paths() {
  const auto& directory = hbd::constants::get_system_log_directory();
  std::vector<std::string> paths = {
      (directory / "grabber.log").string(),
      (directory / "observer.log").string(),
      (directory / "virtual_hid_device_service.log").string(),
      (directory / fmt::format("session_monitor.{0}.log", ::geteuid())).string(),
  };
  if (const auto& user_log_directory = hbd::constants::get_user_log_directory(); !user_log_directory.empty()) {
    paths.push_back((user_log_directory / "console_user_server.log").string());
  }
  return paths;
}

void libhbd_enable_log_monitor(libhbd_log_monitor_callback callback, void* context) {
  libhbd::guard_entry_point("libhbd_enable_log_monitor", [&] {
    libhbd::enable_member(&libhbd_components_manager::log_monitor,
                          [&] { return std::make_shared<libhbd_log_monitor>(callback, context); });
  });
}

void libhbd_disable_log_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_log_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::log_monitor); });
}

size_t libhbd_log_lines_get_size(void* log_lines_handle) {
  return libhbd::guard_entry_point("libhbd_log_lines_get_size", size_t(0), [&]() -> size_t {
    if (log_lines_handle == nullptr) {
      return 0;
    }
    const auto& lines = *static_cast<log_lines*>(log_lines_handle);
    return lines ? lines->size() : 0;
  });
}

const char* libhbd_log_lines_get_line(void* log_lines_handle, size_t index) {
  return libhbd::guard_entry_point("libhbd_log_lines_get_line", static_cast<const char*>(nullptr),
                                   [&]() -> const char* {
                                     if (log_lines_handle == nullptr) {
                                       return nullptr;
                                     }
                                     const auto& lines = *static_cast<log_lines*>(log_lines_handle);
                                     if (!lines || index >= lines->size()) {
                                       return nullptr;
                                     }
                                     return (*lines)[index].c_str();
                                   });
}

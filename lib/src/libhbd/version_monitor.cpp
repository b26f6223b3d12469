#include "version_monitor.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"

libhbd_version_monitor::libhbd_version_monitor(libhbd_version_monitor_callback callback, void* context) {
  hbd::logger::get_logger()->info("libhbd_version_monitor");

  monitor_ = std::make_unique<hbd::version_monitor>(hbd::constants::get_version_file_path().string());
  // The slot holds copies only: this object may be destroyed from inside the callback.
  monitor_->version_changed.connect([callback, context](const std::string&) {
    if (callback != nullptr) {
      callback(context);
    }
  });
  monitor_->async_start();
}

libhbd_version_monitor::~libhbd_version_monitor() {
  hbd::logger::get_logger()->info("~libhbd_version_monitor");
  monitor_ = nullptr;
}

void libhbd_enable_version_monitor(libhbd_version_monitor_callback callback, void* context) {
  libhbd::guard_entry_point("libhbd_enable_version_monitor", [&] {
    libhbd::enable_member(&libhbd_components_manager::version_monitor,
                          [&] { return std::make_shared<libhbd_version_monitor>(callback, context); });
  });
}

void libhbd_disable_version_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_version_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::version_monitor); });
}

#include "frontmost_application_monitor.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/logger.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

libhbd_frontmost_application_monitor::libhbd_frontmost_application_monitor(
    libhbd_frontmost_application_monitor_callback callback, void* context) {
  hbd::logger::get_logger()->info("libhbd_frontmost_application_monitor");

  monitor_ = std::make_unique<zunto::osx::frontmost_application_monitor::monitor>(
      zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher());
  // The slot holds copies only: this object may be destroyed from inside the callback.
  monitor_->frontmost_application_changed.connect(
      [callback, context](std::shared_ptr<zunto::osx::frontmost_application_monitor::application> application) {
        if (application && callback != nullptr) {
          callback(application->get_bundle_identifier().value_or("").c_str(),
                   application->get_file_path().value_or("").c_str(), context);
        }
      });
  monitor_->async_start();
}

libhbd_frontmost_application_monitor::~libhbd_frontmost_application_monitor() {
  hbd::logger::get_logger()->info("~libhbd_frontmost_application_monitor");
  monitor_ = nullptr;
}

void libhbd_enable_frontmost_application_monitor(libhbd_frontmost_application_monitor_callback callback,
                                                 void* context) {
  libhbd::guard_entry_point("libhbd_enable_frontmost_application_monitor", [&] {
    libhbd::enable_member(&libhbd_components_manager::frontmost_application_monitor,
                          [&] { return std::make_shared<libhbd_frontmost_application_monitor>(callback, context); });
  });
}

void libhbd_disable_frontmost_application_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_frontmost_application_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::frontmost_application_monitor); });
}

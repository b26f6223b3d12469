#include "configuration_monitor.hpp"

#include "components_manager.hpp"
#include "core_configuration_handle.hpp"
#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"
#include "zunto/scoped_notify.hpp"
#include "zunto/thread_wait.hpp"

#include <unistd.h>

libhbd_configuration_monitor::libhbd_configuration_monitor(libhbd_configuration_monitor_callback callback,
                                                           void* context) {
  monitor_ = std::make_unique<hbd::configuration_monitor>(
      hbd::constants::get_user_core_configuration_file_path().string(), ::geteuid());

  auto wait = zunto::make_thread_wait();
  monitor_->core_configuration_updated.connect(
      [callback, context, wait](const std::weak_ptr<hbd::core_configuration::core_configuration>& weak) {
        zunto::scoped_notify notify(wait);
        if (auto core_configuration = weak.lock(); core_configuration && callback != nullptr) {
          callback(libhbd::make_core_configuration_handle(std::move(core_configuration)), context);
        }
      });

  monitor_->async_start();
  // The first configuration is always announced, whatever the files hold.
  wait->wait_notice();
}

libhbd_configuration_monitor::~libhbd_configuration_monitor() {
  hbd::logger::get_logger()->info("~libhbd_configuration_monitor");
  monitor_ = nullptr;
}

void libhbd_enable_configuration_monitor(libhbd_configuration_monitor_callback callback, void* context) {
  libhbd::guard_entry_point("libhbd_enable_configuration_monitor", [&] {
    // The first configuration is delivered on the dispatcher thread, which would wait for itself.
    if (libhbd::on_shared_dispatcher_thread()) {
      hbd::logger::get_logger()->error("libhbd_enable_configuration_monitor is refused on the dispatcher thread");
      return;
    }
    libhbd::enable_member(&libhbd_components_manager::configuration_monitor,
                          [&] { return std::make_shared<libhbd_configuration_monitor>(callback, context); });
  });
}

void libhbd_disable_configuration_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_configuration_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::configuration_monitor); });
}

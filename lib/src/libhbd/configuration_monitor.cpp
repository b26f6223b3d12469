#include "configuration_monitor.hpp"

#include "components_manager.hpp"
#include "core_configuration_handle.hpp"
#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"
#include "zunto/scoped_notify.hpp"

#include <unistd.h>

#include <utility>

libhbd_configuration_monitor::libhbd_configuration_monitor(libhbd_configuration_monitor_callback callback,
                                                           void* context)
    : first_configuration_handled_(zunto::make_thread_wait()) {
  monitor_ = std::make_unique<hbd::configuration_monitor>(
      hbd::constants::get_user_core_configuration_file_path().string(), ::geteuid());

  // `gone` notifies when the last copy of this function goes: when the monitor goes before its
  // first announcement (a disable on another thread), the enable waiting for it must not wait on.
  monitor_->core_configuration_updated.connect(
      [callback, context, wait = first_configuration_handled_,
       gone = std::make_shared<zunto::scoped_notify>(first_configuration_handled_)](
          const std::weak_ptr<hbd::core_configuration::core_configuration>& weak) {
        zunto::scoped_notify notify(wait);
        if (auto core_configuration = weak.lock(); core_configuration && callback != nullptr) {
          callback(libhbd::make_core_configuration_handle(std::move(core_configuration)), context);
        }
      });
}

libhbd_configuration_monitor::~libhbd_configuration_monitor() {
  hbd::logger::get_logger()->info("~libhbd_configuration_monitor");
  monitor_ = nullptr;
}

std::shared_ptr<zunto::thread_wait> libhbd_configuration_monitor::get_first_configuration_handled() const {
  return first_configuration_handled_;
}

void libhbd_configuration_monitor::async_start() { monitor_->async_start(); }

void libhbd_configuration_monitor::async_note_saved(std::string saved_text) {
  monitor_->async_note_saved(std::move(saved_text));
}

void libhbd_enable_configuration_monitor(libhbd_configuration_monitor_callback callback, void* context) {
  libhbd::guard_entry_point("libhbd_enable_configuration_monitor", [&] {
    // The first configuration is delivered on the dispatcher thread, which would wait for itself.
    if (libhbd::on_shared_dispatcher_thread()) {
      hbd::logger::get_logger()->error("libhbd_enable_configuration_monitor is refused on the dispatcher thread");
      return;
    }
    libhbd::components_manager_use use;
    if (!use) {
      return;
    }
    auto member = std::make_shared<libhbd_configuration_monitor>(callback, context);
    const auto first_configuration_handled = member->get_first_configuration_handled();
    // In its slot before its first callback, so that a disable inside that callback finds it and
    // ends it at once. The member it replaces goes only once the new one has handed over its first
    // configuration.
    auto previous = (*use).configuration_monitor.exchange_and_start(
        std::move(member), [](libhbd_configuration_monitor& started) { started.async_start(); });
    first_configuration_handled->wait_notice();
    previous.reset();
  });
}

void libhbd_disable_configuration_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_configuration_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::configuration_monitor); });
}

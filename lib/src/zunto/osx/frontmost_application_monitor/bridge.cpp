#include "zunto/osx/frontmost_application_monitor/bridge.hpp"

#include "platform/dispatch/serial_queue.hpp"
#include "platform/workspace/workspace.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// Lives for the rest of the process once made: workspace notifications may come at any time.
class bridge final {
public:
  static bridge& shared() {
    static auto* const instance = new bridge();
    return *instance;
  }

  void register_callback(zunto_osx_frontmost_application_monitor_callback callback, void* context) {
    queue_.async([this, callback, context] {
      const entry e{callback, context};
      if (std::find(callbacks_.begin(), callbacks_.end(), e) == callbacks_.end()) {
        callbacks_.push_back(e);
      }
      if (auto application = platform::workspace::frontmost_application()) {
        report(*application);
      }
    });
  }

  void unregister_callback(zunto_osx_frontmost_application_monitor_callback callback, void* context) {
    queue_.async([this, callback, context] { std::erase(callbacks_, entry{callback, context}); });
  }

private:
  struct entry {
    zunto_osx_frontmost_application_monitor_callback callback;
    void* context;

    bool operator==(const entry&) const = default;
  };

  bridge() : queue_("org.zunto.osx.frontmost_application_monitor") {
    observer_token_ = platform::workspace::observe_did_activate_application(
        [this](const platform::workspace::did_activate_application_notification& notification) {
          if (!notification.info) {
            std::puts("Missing notification info on NSWorkspace.didActivateApplicationNotification");
            std::fflush(stdout);
            return;
          }
          if (!notification.info->application) {
            std::puts("Missing runningApplication on NSWorkspace.didActivateApplicationNotification");
            std::fflush(stdout);
            return;
          }
          queue_.async([this, application = *notification.info->application] { report(application); });
        });
  }

  // On the queue.
  void report(const platform::workspace::running_application& application) const {
    const std::string bundle_identifier = application.bundle_identifier.value_or("");
    const std::string file_path = application.executable_path.value_or("");
    for (const auto& e : callbacks_) {
      e.callback(bundle_identifier.c_str(), file_path.c_str(), e.context);
    }
  }

  platform::dispatch::serial_queue queue_;
  // On the queue only.
  std::vector<entry> callbacks_;
  platform::workspace::observer_token observer_token_;
};

} // namespace

extern "C" void zunto_osx_frontmost_application_monitor_register(
    zunto_osx_frontmost_application_monitor_callback callback, void* context) {
  bridge::shared().register_callback(callback, context);
}

extern "C" void zunto_osx_frontmost_application_monitor_unregister(
    zunto_osx_frontmost_application_monitor_callback callback, void* context) {
  bridge::shared().unregister_callback(callback, context);
}

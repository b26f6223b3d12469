#include "zunto/osx/frontmost_application_monitor/monitor.hpp"

#include "zunto/osx/frontmost_application_monitor/bridge.hpp"

#include <mutex>
#include <unordered_set>

namespace zunto::osx::frontmost_application_monitor {

namespace {

// The live monitors: a report for a context that is not among them is dropped. The mutex guards the
// set and every delivery, so a monitor is never reached while it is being destroyed.
struct monitor_manager {
  std::mutex mutex;
  std::unordered_set<monitor*> monitors;
};

monitor_manager& get_global_monitor_manager() {
  static auto* const manager = new monitor_manager();
  return *manager;
}

} // namespace

monitor::monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher)
    : dispatcher_client(std::move(weak_dispatcher)) {
  auto& manager = get_global_monitor_manager();
  std::lock_guard lock(manager.mutex);
  manager.monitors.insert(this);
}

monitor::~monitor() {
  {
    auto& manager = get_global_monitor_manager();
    std::lock_guard lock(manager.mutex);
    manager.monitors.erase(this);
  }
  // Unregistered in the final step itself: a job queued from there would never run. Without a
  // dispatcher the step does not run, and the bridge is told directly.
  bool unregistered = false;
  detach_from_dispatcher([this, &unregistered] {
    zunto_osx_frontmost_application_monitor_unregister(static_cpp_callback, this);
    unregistered = true;
  });
  if (!unregistered) {
    zunto_osx_frontmost_application_monitor_unregister(static_cpp_callback, this);
  }
}

void monitor::async_start() {
  enqueue_to_dispatcher([this] { zunto_osx_frontmost_application_monitor_register(static_cpp_callback, this); },
                        dispatcher::time_point(1));
}

void monitor::static_cpp_callback(const char* bundle_identifier, const char* file_path, void* context) {
  auto& manager = get_global_monitor_manager();
  std::lock_guard lock(manager.mutex);
  auto* m = static_cast<monitor*>(context);
  if (m != nullptr && manager.monitors.contains(m)) {
    m->cpp_callback(bundle_identifier, file_path);
  }
}

void monitor::cpp_callback(const char* bundle_identifier, const char* file_path) {
  auto a = std::make_shared<application>();
  if (bundle_identifier != nullptr) {
    a->set_bundle_identifier(bundle_identifier);
  }
  if (file_path != nullptr) {
    a->set_file_path(file_path);
  }
  enqueue_to_dispatcher([this, a] { frontmost_application_changed(a); }, dispatcher::time_point(1));
}

} // namespace zunto::osx::frontmost_application_monitor

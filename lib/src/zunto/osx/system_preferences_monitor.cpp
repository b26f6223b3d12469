#include "zunto/osx/system_preferences_monitor.hpp"

namespace zunto::osx {

system_preferences_monitor::system_preferences_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher)
    : dispatcher_client(std::move(weak_dispatcher)), timer_(*this) {}

system_preferences_monitor::~system_preferences_monitor() {
  detach_from_dispatcher([this] { timer_.stop(); });
}

void system_preferences_monitor::async_start(std::chrono::milliseconds interval) {
  timer_.start([this] { poll(); }, interval);
}

void system_preferences_monitor::poll() {
  auto properties = std::make_shared<system_preferences::properties>();
  properties->update();

  if (last_properties_ && *last_properties_ == *properties) {
    return;
  }
  last_properties_ = properties;

  enqueue_to_dispatcher([this, properties] { system_preferences_changed(properties); }, dispatcher::time_point(1));
}

} // namespace zunto::osx

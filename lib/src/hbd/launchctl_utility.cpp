#include "hbd/launchctl_utility.hpp"

#include "hbd/apple_notification_center.hpp"
#include "zunto/osx/launchctl.hpp"

#include <unistd.h>

namespace hbd {
namespace {

namespace launchctl = zunto::osx::launchctl;

struct agent {
  const char* name;
  const char* path;
};

constexpr agent console_user_server{
    "org.zunto.hobbard.hobbard_console_user_server",
    "/Library/LaunchAgents/org.zunto.hobbard.hobbard_console_user_server.plist",
};
constexpr agent notification_window{
    "org.zunto.hobbard.NotificationWindow",
    "/Library/LaunchAgents/org.zunto.hobbard.NotificationWindow.plist",
};
constexpr agent session_monitor{
    "org.zunto.hobbard.hobbard_session_monitor",
    "/Library/LaunchAgents/org.zunto.hobbard.hobbard_session_monitor.plist",
};

launchctl::domain_target user_domain() { return launchctl::make_gui_domain_target(::getuid()); }

void start(const agent& service) {
  const auto domain = user_domain();
  launchctl::enable(domain, launchctl::service_name(service.name), launchctl::service_path(service.path));
  launchctl::kickstart(domain, launchctl::service_name(service.name), launchctl::kickstart_flags::none);
}

void stop(const agent& service) {
  launchctl::disable(user_domain(), launchctl::service_name(service.name), launchctl::service_path(service.path));
}

} // namespace

void launchctl_utility::manage_console_user_server(bool start_server) {
  if (start_server) {
    start(console_user_server);
  } else {
    stop(console_user_server);
    apple_notification_center::post_distributed_notification("console_user_server_is_disabled");
  }
}

void launchctl_utility::manage_notification_window(bool start_window) {
  if (start_window) {
    start(notification_window);
  } else {
    stop(notification_window);
  }
}

void launchctl_utility::manage_session_monitor() { start(session_monitor); }

void launchctl_utility::restart_console_user_server() {
  launchctl::kickstart(user_domain(), launchctl::service_name(console_user_server.name),
                       launchctl::kickstart_flags::kill | launchctl::kickstart_flags::background);
}

void launchctl_utility::bootout_console_user_server() {
  launchctl::bootout(user_domain(), launchctl::service_path(console_user_server.path));
}

} // namespace hbd

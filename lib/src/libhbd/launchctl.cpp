#include "entry_point.hpp"
#include "hbd/launchctl_utility.hpp"
#include "libhbd.h"

void libhbd_launchctl_manage_console_user_server(bool enable) {
  libhbd::guard_entry_point("libhbd_launchctl_manage_console_user_server",
                            [&] { hbd::launchctl_utility::manage_console_user_server(enable); });
}

void libhbd_launchctl_manage_notification_window(bool enable) {
  libhbd::guard_entry_point("libhbd_launchctl_manage_notification_window",
                            [&] { hbd::launchctl_utility::manage_notification_window(enable); });
}

void libhbd_launchctl_manage_session_monitor(void) {
  libhbd::guard_entry_point("libhbd_launchctl_manage_session_monitor",
                            [] { hbd::launchctl_utility::manage_session_monitor(); });
}

void libhbd_launchctl_restart_console_user_server(void) {
  libhbd::guard_entry_point("libhbd_launchctl_restart_console_user_server",
                            [] { hbd::launchctl_utility::restart_console_user_server(); });
}

void libhbd_launchctl_bootout_console_user_server(void) {
  libhbd::guard_entry_point("libhbd_launchctl_bootout_console_user_server",
                            [] { hbd::launchctl_utility::bootout_console_user_server(); });
}

#include "entry_point.hpp"
#include "hbd/application_launcher.hpp"
#include "libhbd.h"
#include "platform/command/command.hpp"

#include <string_view>

namespace {

// system()'s answer when no shell could be started.
constexpr int run_failed = -1;

int run(std::string_view entry_point, const char* command) {
  return libhbd::guard_entry_point(entry_point, run_failed, [&] { return platform::command::run(command); });
}

} // namespace

int libhbd_launch_event_viewer(void) {
  return run("libhbd_launch_event_viewer", "open '/Applications/Hobbard-EventViewer.app'");
}

int libhbd_launch_menu(void) {
  return run("libhbd_launch_menu", "open -g '/Library/Application Support/org.zunto/Hobbard-Suite/Hobbard-Menu.app'");
}

int libhbd_launch_settings(void) { return run("libhbd_launch_settings", "open '/Applications/Hobbard-Suite.app'"); }

void libhbd_launch_multitouch_extension(void) {
  libhbd::guard_entry_point("libhbd_launch_multitouch_extension",
                            [] { hbd::application_launcher::launch_multitouch_extension(false); });
}

int libhbd_launch_uninstaller(void) {
  return run("libhbd_launch_uninstaller",
             "/usr/bin/nohup osascript '/Library/Application Support/org.zunto/Hobbard-Suite/scripts/"
             "uninstaller.applescript' >/dev/null 2>&1 &");
}

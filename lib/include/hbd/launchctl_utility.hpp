#pragma once

namespace hbd {

// The backend's launch agents in the calling user's GUI domain. Nothing is reported: a command
// that fails leaves only its ignored exit status.
class launchctl_utility final {
public:
  launchctl_utility() = delete;

  // true: enable (with bootstrap) and kickstart; false: disable (with bootout), then post
  // "console_user_server_is_disabled".
  static void manage_console_user_server(bool start);
  static void manage_notification_window(bool start);
  // Start only.
  static void manage_session_monitor();
  // Kickstart with kill, in the background.
  static void restart_console_user_server();
  static void bootout_console_user_server();
};

} // namespace hbd

#pragma once

#include <string>
#include <vector>

namespace hbd_test {

inline const std::string console_user_server = "org.zunto.hobbard.hobbard_console_user_server";
inline const std::string notification_window = "org.zunto.hobbard.NotificationWindow";
inline const std::string session_monitor = "org.zunto.hobbard.hobbard_session_monitor";

// "gui/<uid>/" for the user running the tests.
std::string gui_domain();
std::string launch_agent_plist(const std::string& name);

// The launchctl command lines that start (enable, bootstrap, enable, kickstart) and stop (bootout,
// disable) the agent.
std::vector<std::string> launch_agent_start_lines(const std::string& name);
std::vector<std::string> launch_agent_stop_lines(const std::string& name);

} // namespace hbd_test

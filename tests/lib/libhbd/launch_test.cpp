#include "libhbd.h"
#include "platform/command/command.hpp"
#include "platform/notify/notify.hpp"
#include "support/launch_agents.hpp"
#include "support/log_capture.hpp"
#include "support/stderr_capture.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

const platform::notify::notification console_user_server_is_disabled{
    .name = "console_user_server_is_disabled",
    .object = "org.zunto.hobbard",
    .deliver_immediately = true,
};

} // namespace

TEST(libhbd_launchctl, each_entry_point_runs_its_command_lines_and_posts_only_on_console_user_server_stop) {
  const struct {
    const char* entry_point;
    std::function<void()> call;
    std::vector<std::string> commands;
    std::vector<platform::notify::notification> notifications;
  } cases[] = {
      {"manage_console_user_server(true)",
       [] { libhbd_launchctl_manage_console_user_server(true); },
       hbd_test::launch_agent_start_lines(hbd_test::console_user_server),
       {}},
      {"manage_console_user_server(false)",
       [] { libhbd_launchctl_manage_console_user_server(false); },
       hbd_test::launch_agent_stop_lines(hbd_test::console_user_server),
       {console_user_server_is_disabled}},
      {"manage_notification_window(true)",
       [] { libhbd_launchctl_manage_notification_window(true); },
       hbd_test::launch_agent_start_lines(hbd_test::notification_window),
       {}},
      {"manage_notification_window(false)",
       [] { libhbd_launchctl_manage_notification_window(false); },
       hbd_test::launch_agent_stop_lines(hbd_test::notification_window),
       {}},
      {"manage_session_monitor",
       [] { libhbd_launchctl_manage_session_monitor(); },
       hbd_test::launch_agent_start_lines(hbd_test::session_monitor),
       {}},
      {"restart_console_user_server",
       [] { libhbd_launchctl_restart_console_user_server(); },
       {"/bin/launchctl kickstart  -k " + hbd_test::gui_domain() + hbd_test::console_user_server + " & "},
       {}},
      {"bootout_console_user_server",
       [] { libhbd_launchctl_bootout_console_user_server(); },
       {"/bin/launchctl bootout " + hbd_test::gui_domain() + " " +
        hbd_test::launch_agent_plist(hbd_test::console_user_server)},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry_point);
    // A failing launchctl changes nothing: results are not reported.
    platform::command::recorder commands(1 << 8);
    platform::notify::recorder notifications;
    c.call();
    EXPECT_EQ(commands.commands(), c.commands);
    EXPECT_EQ(notifications.notifications(), c.notifications);
  }
}

TEST(libhbd_launch, backend_applications_run_one_command_and_return_its_status) {
  const struct {
    const char* entry_point;
    std::function<int()> call;
    std::string command;
  } cases[] = {
      {"event_viewer", [] { return libhbd_launch_event_viewer(); }, "open '/Applications/Hobbard-EventViewer.app'"},
      {"menu", [] { return libhbd_launch_menu(); },
       "open -g '/Library/Application Support/org.zunto/Hobbard-Suite/Hobbard-Menu.app'"},
      {"settings", [] { return libhbd_launch_settings(); }, "open '/Applications/Hobbard-Suite.app'"},
      {"uninstaller", [] { return libhbd_launch_uninstaller(); },
       "/usr/bin/nohup osascript '/Library/Application Support/org.zunto/Hobbard-Suite/scripts/"
       "uninstaller.applescript' >/dev/null 2>&1 &"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry_point);
    for (const int status : {0, 3 << 8}) {
      platform::command::recorder commands(status);
      EXPECT_EQ(c.call(), status);
      EXPECT_EQ(commands.commands(), std::vector<std::string>{c.command});
    }
  }
}

TEST(libhbd_launch, multitouch_extension_is_opened_to_show_its_window) {
  platform::command::recorder commands;
  libhbd_launch_multitouch_extension();
  EXPECT_EQ(commands.commands(),
            std::vector<std::string>{
                "open '/Library/Application Support/org.zunto/Hobbard-Suite/Hobbard-MultitouchExtension.app' "
                "--args --show-ui"});
}

TEST(libhbd_launch, a_throwing_runner_gives_the_failed_status_instead_of_an_exception) {
  platform::command::recorder outer;
  const auto previous =
      platform::command::set_runner([](const std::string&) -> int { throw std::runtime_error("boom"); });
  EXPECT_EQ(libhbd_launch_settings(), -1);
  EXPECT_NO_THROW(libhbd_launchctl_manage_session_monitor());
  platform::command::set_runner(previous);
}

TEST(libhbd_launchctl, console_user_server_is_disabled_is_posted_only_after_its_bootout_and_disable) {
  platform::notify::recorder notifications;
  // Each command line with the number of notifications posted before it ran.
  std::vector<std::pair<std::string, std::size_t>> commands;
  const auto previous = platform::command::set_runner([&](const std::string& command) {
    commands.emplace_back(command, notifications.notifications().size());
    return 0;
  });
  libhbd_launchctl_manage_console_user_server(false);
  platform::command::set_runner(previous);

  std::vector<std::pair<std::string, std::size_t>> expected;
  for (const auto& line : hbd_test::launch_agent_stop_lines(hbd_test::console_user_server)) {
    expected.emplace_back(line, 0);
  }
  EXPECT_EQ(commands, expected);
  EXPECT_EQ(notifications.notifications(),
            std::vector<platform::notify::notification>({console_user_server_is_disabled}));
}

TEST(libhbd_launchctl, a_missing_launchctl_is_one_warning_of_the_library_and_no_message_of_the_shell) {
  if (std::filesystem::exists("/bin/launchctl")) {
    GTEST_SKIP() << "launchctl is installed here";
  }
  hbd_test::log_capture log;
  libhbd_initialize();
  // The shared test main refuses real commands; these find their program missing and run nothing.
  auto previous = platform::command::set_runner({});
  std::string written;
  {
    hbd_test::stderr_capture errors;
    libhbd_launchctl_manage_console_user_server(true);
    libhbd_launchctl_manage_session_monitor();
    written = errors.text();
  }
  platform::command::set_runner(std::move(previous));
  libhbd_terminate();

  EXPECT_EQ(written, "");
  const hbd_test::log_capture::entry warning{spdlog::level::warn,
                                             "/bin/launchctl is missing: commands that run it do nothing"};
  const auto entries = log.entries();
  EXPECT_EQ(std::count(entries.begin(), entries.end(), warning), 1) << testing::PrintToString(entries);
}

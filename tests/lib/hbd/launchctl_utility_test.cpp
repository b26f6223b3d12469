#include "hbd/launchctl_utility.hpp"

#include "platform/command/command.hpp"
#include "platform/notify/notify.hpp"
#include "support/launch_agents.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

TEST(launchctl_utility, each_operation_runs_its_agents_command_lines) {
  const struct {
    const char* operation;
    std::function<void()> call;
    std::vector<std::string> expected;
  } cases[] = {
      {"start console user server", [] { hbd::launchctl_utility::manage_console_user_server(true); },
       hbd_test::launch_agent_start_lines(hbd_test::console_user_server)},
      {"stop console user server", [] { hbd::launchctl_utility::manage_console_user_server(false); },
       hbd_test::launch_agent_stop_lines(hbd_test::console_user_server)},
      {"start notification window", [] { hbd::launchctl_utility::manage_notification_window(true); },
       hbd_test::launch_agent_start_lines(hbd_test::notification_window)},
      {"stop notification window", [] { hbd::launchctl_utility::manage_notification_window(false); },
       hbd_test::launch_agent_stop_lines(hbd_test::notification_window)},
      {"start session monitor", [] { hbd::launchctl_utility::manage_session_monitor(); },
       hbd_test::launch_agent_start_lines(hbd_test::session_monitor)},
      {"restart console user server",
       [] { hbd::launchctl_utility::restart_console_user_server(); },
       {"/bin/launchctl kickstart  -k " + hbd_test::gui_domain() + hbd_test::console_user_server + " & "}},
      {"bootout console user server",
       [] { hbd::launchctl_utility::bootout_console_user_server(); },
       {"/bin/launchctl bootout " + hbd_test::gui_domain() + " " +
        hbd_test::launch_agent_plist(hbd_test::console_user_server)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.operation);
    platform::command::recorder commands;
    c.call();
    EXPECT_EQ(commands.commands(), c.expected);
  }
}

TEST(launchctl_utility, stopping_the_console_user_server_posts_after_the_disable_every_time) {
  platform::notify::recorder notifications;
  // Each command line is kept with the number of notifications posted before it ran.
  std::vector<std::pair<std::string, std::size_t>> lines;
  auto previous = platform::command::set_runner([&](const std::string& command) {
    lines.emplace_back(command, notifications.notifications().size());
    return 0;
  });

  hbd::launchctl_utility::manage_console_user_server(false);
  hbd::launchctl_utility::manage_console_user_server(false);
  hbd::launchctl_utility::manage_notification_window(false);
  platform::command::set_runner(std::move(previous));

  const auto stop = hbd_test::launch_agent_stop_lines(hbd_test::console_user_server);
  const auto stop_window = hbd_test::launch_agent_stop_lines(hbd_test::notification_window);
  const std::vector<std::pair<std::string, std::size_t>> expected{
      {stop[0], 0}, {stop[1], 0}, {stop[0], 1}, {stop[1], 1}, {stop_window[0], 2}, {stop_window[1], 2},
  };
  EXPECT_EQ(lines, expected);
  const platform::notify::notification posted{"console_user_server_is_disabled", "org.zunto.hobbard", true};
  EXPECT_EQ(notifications.notifications(), (std::vector<platform::notify::notification>{posted, posted}));
}

TEST(launchctl_utility, starting_posts_nothing) {
  platform::notify::recorder notifications;
  platform::command::recorder commands;
  hbd::launchctl_utility::manage_console_user_server(true);
  hbd::launchctl_utility::restart_console_user_server();
  EXPECT_TRUE(notifications.notifications().empty());
}

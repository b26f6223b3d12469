#include "hbd/launchctl_utility.hpp"

#include "platform/command/command.hpp"
#include "platform/notify/notify.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const std::string console_user_server = "org.zunto.hobbard.hobbard_console_user_server";
const std::string notification_window = "org.zunto.hobbard.NotificationWindow";
const std::string session_monitor = "org.zunto.hobbard.hobbard_session_monitor";

std::string domain() { return "gui/" + std::to_string(::getuid()) + "/"; }

std::string plist(const std::string& name) { return "/Library/LaunchAgents/" + name + ".plist"; }

std::vector<std::string> start_lines(const std::string& name) {
  const std::string enable = "/bin/launchctl enable " + domain() + name;
  return {enable, "/bin/launchctl bootstrap " + domain() + " " + plist(name), enable,
          "/bin/launchctl kickstart " + domain() + name};
}

std::vector<std::string> stop_lines(const std::string& name) {
  return {"/bin/launchctl bootout " + domain() + " " + plist(name), "/bin/launchctl disable " + domain() + name};
}

} // namespace

TEST(launchctl_utility, each_operation_runs_its_agents_command_lines) {
  const struct {
    const char* operation;
    std::function<void()> call;
    std::vector<std::string> expected;
  } cases[] = {
      {"start console user server", [] { hbd::launchctl_utility::manage_console_user_server(true); },
       start_lines(console_user_server)},
      {"stop console user server", [] { hbd::launchctl_utility::manage_console_user_server(false); },
       stop_lines(console_user_server)},
      {"start notification window", [] { hbd::launchctl_utility::manage_notification_window(true); },
       start_lines(notification_window)},
      {"stop notification window", [] { hbd::launchctl_utility::manage_notification_window(false); },
       stop_lines(notification_window)},
      {"start session monitor", [] { hbd::launchctl_utility::manage_session_monitor(); },
       start_lines(session_monitor)},
      {"restart console user server", [] { hbd::launchctl_utility::restart_console_user_server(); },
       {"/bin/launchctl kickstart  -k " + domain() + console_user_server + " & "}},
      {"bootout console user server", [] { hbd::launchctl_utility::bootout_console_user_server(); },
       {"/bin/launchctl bootout " + domain() + " " + plist(console_user_server)}},
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

  const auto stop = stop_lines(console_user_server);
  const auto stop_window = stop_lines(notification_window);
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

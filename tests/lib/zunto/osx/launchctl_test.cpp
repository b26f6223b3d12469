#include "zunto/osx/launchctl.hpp"

#include "platform/command/command.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace launchctl = zunto::osx::launchctl;

// A name, a path and a domain are not interchangeable, nor made from a bare string by accident.
static_assert(!std::is_convertible_v<launchctl::service_name, launchctl::service_path>);
static_assert(!std::is_convertible_v<launchctl::service_path, launchctl::domain_target>);
static_assert(!std::is_convertible_v<std::string, launchctl::service_name>);

TEST(launchctl, gui_domain_target_is_the_uid_between_slashes) {
  EXPECT_EQ(launchctl::make_gui_domain_target(0).get(), "gui/0/");
  EXPECT_EQ(launchctl::make_gui_domain_target(501).get(), "gui/501/");
  EXPECT_EQ(launchctl::make_gui_domain_target(4294967295u).get(), "gui/4294967295/");
}

TEST(launchctl, each_operation_runs_its_exact_command_lines) {
  const auto domain = launchctl::make_gui_domain_target(501);
  const launchctl::service_name name("org.zunto.hobbard.NotificationWindow");
  const launchctl::service_path path("/Library/LaunchAgents/org.zunto.hobbard.NotificationWindow.plist");
  const std::string target = "gui/501/org.zunto.hobbard.NotificationWindow";
  const std::string bootstrap = "/bin/launchctl bootstrap gui/501/ " + path.get();
  const std::string bootout = "/bin/launchctl bootout gui/501/ " + path.get();
  using flags = launchctl::kickstart_flags;

  const struct {
    const char* operation;
    std::function<void()> call;
    std::vector<std::string> expected;
  } cases[] = {
      {"bootstrap", [&] { launchctl::bootstrap(domain, path); }, {bootstrap}},
      {"bootout", [&] { launchctl::bootout(domain, path); }, {bootout}},
      {"enable",
       [&] { launchctl::enable(domain, name, path); },
       {"/bin/launchctl enable " + target, bootstrap, "/bin/launchctl enable " + target}},
      {"disable", [&] { launchctl::disable(domain, name, path); }, {bootout, "/bin/launchctl disable " + target}},
      {"kickstart", [&] { launchctl::kickstart(domain, name, flags::none); }, {"/bin/launchctl kickstart " + target}},
      {"kickstart kill",
       [&] { launchctl::kickstart(domain, name, flags::kill); },
       {"/bin/launchctl kickstart  -k " + target}},
      {"kickstart background",
       [&] { launchctl::kickstart(domain, name, flags::background); },
       {"/bin/launchctl kickstart " + target + " & "}},
      {"kickstart kill background",
       [&] { launchctl::kickstart(domain, name, flags::kill | flags::background); },
       {"/bin/launchctl kickstart  -k " + target + " & "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.operation);
    platform::command::recorder commands(256); // a failing status changes nothing
    c.call();
    EXPECT_EQ(commands.commands(), c.expected);
  }
}

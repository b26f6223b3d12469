#include "hbd/application_launcher.hpp"

#include "platform/command/command.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(application_launcher, multitouch_extension_command_lines) {
  const std::string app = "'/Library/Application Support/org.zunto/Hobbard-Suite/Hobbard-MultitouchExtension.app'";
  {
    platform::command::recorder commands(256); // killall finding nothing changes nothing
    hbd::application_launcher::launch_multitouch_extension(true);
    EXPECT_EQ(commands.commands(), (std::vector<std::string>{"killall Hobbard-MultitouchExtension",
                                                             "open  -n " + app + " --args --start-at-login"}));
  }
  {
    platform::command::recorder commands;
    hbd::application_launcher::launch_multitouch_extension(false);
    EXPECT_EQ(commands.commands(), (std::vector<std::string>{"open " + app + " --args --show-ui"}));
  }
}

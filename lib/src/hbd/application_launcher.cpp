#include "hbd/application_launcher.hpp"

#include "platform/command/command.hpp"

#include <string>

namespace hbd {
namespace {

// Quoted here so that the path reaches the shell as one word.
const std::string multitouch_extension_path =
    "'/Library/Application Support/org.zunto/Hobbard-Suite/Hobbard-MultitouchExtension.app'";

} // namespace

void application_launcher::launch_multitouch_extension(bool start_at_login) {
  if (start_at_login) {
    platform::command::run("killall Hobbard-MultitouchExtension");
    platform::command::run("open  -n " + multitouch_extension_path + " --args --start-at-login");
  } else {
    platform::command::run("open " + multitouch_extension_path + " --args --show-ui");
  }
}

} // namespace hbd

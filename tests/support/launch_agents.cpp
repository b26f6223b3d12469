#include "support/launch_agents.hpp"

#include <unistd.h>

namespace hbd_test {

std::string gui_domain() { return "gui/" + std::to_string(::getuid()) + "/"; }

std::string launch_agent_plist(const std::string& name) { return "/Library/LaunchAgents/" + name + ".plist"; }

std::vector<std::string> launch_agent_start_lines(const std::string& name) {
  const std::string enable = "/bin/launchctl enable " + gui_domain() + name;
  return {enable, "/bin/launchctl bootstrap " + gui_domain() + " " + launch_agent_plist(name), enable,
          "/bin/launchctl kickstart " + gui_domain() + name};
}

std::vector<std::string> launch_agent_stop_lines(const std::string& name) {
  return {"/bin/launchctl bootout " + gui_domain() + " " + launch_agent_plist(name),
          "/bin/launchctl disable " + gui_domain() + name};
}

} // namespace hbd_test

#include "zunto/osx/launchctl.hpp"

#include "platform/command/command.hpp"

namespace zunto::osx::launchctl {
namespace {

std::string service_target(const domain_target& domain, const service_name& name) { return domain.get() + name.get(); }

void run(const std::string& command) { platform::command::run(command); }

} // namespace

domain_target make_gui_domain_target(std::uint32_t uid) { return domain_target("gui/" + std::to_string(uid) + "/"); }

void enable(const domain_target& domain, const service_name& name, const service_path& path) {
  const std::string command = "/bin/launchctl enable " + service_target(domain, name);
  run(command);
  bootstrap(domain, path);
  // Enabled again whatever bootstrap did.
  run(command);
}

void disable(const domain_target& domain, const service_name& name, const service_path& path) {
  bootout(domain, path);
  run("/bin/launchctl disable " + service_target(domain, name));
}

void bootstrap(const domain_target& domain, const service_path& path) {
  run("/bin/launchctl bootstrap " + domain.get() + " " + path.get());
}

void bootout(const domain_target& domain, const service_path& path) {
  run("/bin/launchctl bootout " + domain.get() + " " + path.get());
}

void kickstart(const domain_target& domain, const service_name& name, kickstart_flags flags) {
  std::string command = "/bin/launchctl kickstart ";
  if (has_flag(flags, kickstart_flags::kill)) {
    command += " -k ";
  }
  command += service_target(domain, name);
  if (has_flag(flags, kickstart_flags::background)) {
    command += " & ";
  }
  run(command);
}

} // namespace zunto::osx::launchctl

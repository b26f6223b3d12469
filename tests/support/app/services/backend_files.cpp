#include "support/app/services/backend_files.hpp"

#include "services/Hobbard.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace grellan_test {

std::filesystem::path stateFile(const std::string& name) {
  return std::filesystem::path(std::getenv("HBD_SYSTEM_ROOT")) / "Library/Application Support/org.zunto/tmp" / name;
}

void installActivationApp(int status) {
  const std::filesystem::path program = grellan::Hobbard::activationAppPath().toStdString();
  std::filesystem::create_directories(program.parent_path());
  {
    std::ofstream script(program);
    script << "#!/bin/sh\nprintf %s \"$1\" > \"$0.argument\"\nexit " << status << "\n";
  }
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

std::string activationArgument() {
  std::ifstream file(grellan::Hobbard::activationAppPath().toStdString() + ".argument");
  return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace grellan_test

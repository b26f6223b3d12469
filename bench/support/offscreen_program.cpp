#include "support/offscreen_program.hpp"

#include <fcntl.h>
#include <spawn.h>

namespace hbd_bench {

pid_t spawn_offscreen_program(const std::vector<std::string>& command, const std::string& home, int output) {
  std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen",
                                          "HOME=" + home,
                                          "XDG_CONFIG_HOME=" + home + "/.config",
                                          "XDG_DATA_HOME=" + home + "/.local/share",
                                          "XDG_RUNTIME_DIR=" + home,
                                          "HBD_SYSTEM_ROOT=" + home + "/system",
                                          "PATH=/usr/bin:/bin"};
  std::vector<std::string> arguments_copy = command;
  std::vector<char*> arguments;
  for (auto& argument : arguments_copy) {
    arguments.push_back(argument.data());
  }
  arguments.push_back(nullptr);
  std::vector<char*> variables;
  for (auto& variable : environment) {
    variables.push_back(variable.data());
  }
  variables.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output >= 0) {
    posix_spawn_file_actions_adddup2(&actions, output, 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, arguments[0], &actions, nullptr, arguments.data(), variables.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

} // namespace hbd_bench

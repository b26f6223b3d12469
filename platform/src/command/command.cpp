#include "platform/command/command.hpp"

#include <cstdlib>
#include <mutex>

namespace platform::command {
namespace {

std::mutex runner_mutex;
runner installed_runner;

} // namespace

int run(const std::string& command) {
  runner current;
  {
    std::lock_guard lock(runner_mutex);
    current = installed_runner;
  }
  // Outside the lock: a command may block for long, and runners may run commands themselves.
  if (current) {
    return current(command);
  }
  return run_in_shell(command);
}

int run_in_shell(const std::string& command) { return std::system(command.c_str()); }

runner set_runner(runner replacement) {
  std::lock_guard lock(runner_mutex);
  std::swap(installed_runner, replacement);
  return replacement;
}

struct recorder::state {
  mutable std::mutex mutex;
  std::vector<std::string> commands;
};

recorder::recorder(int status) : state_(std::make_shared<state>()) {
  previous_ = set_runner([state = state_, status](const std::string& command) {
    std::lock_guard lock(state->mutex);
    state->commands.push_back(command);
    return status;
  });
}

recorder::~recorder() { set_runner(std::move(previous_)); }

std::vector<std::string> recorder::commands() const {
  std::lock_guard lock(state_->mutex);
  return state_->commands;
}

} // namespace platform::command

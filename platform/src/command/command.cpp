#include "platform/command/command.hpp"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>

namespace platform::command {
namespace {

std::mutex runner_mutex;
runner installed_runner;

std::mutex reporter_mutex;
missing_program_reporter installed_reporter;
std::set<std::string> reported_programs;

bool executable_file(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The program of a one-program command line (a trailing "&" allowed) when the shell would not find
// it. Lines that join commands, redirect or substitute, and first words that are not plain, are left
// to the shell: parts of them may run although the program is missing.
std::optional<std::string> missing_program(const std::string& command) {
  std::string line = command.substr(0, command.find_last_not_of(" \t") + 1);
  if (!line.empty() && line.back() == '&') {
    line.pop_back();
  }
  const auto start = line.find_first_not_of(" \t");
  if (start == std::string::npos || line.find_first_of(";&|<>`$(){}\n", start) != std::string::npos) {
    return std::nullopt;
  }
  const std::string program = line.substr(start, line.find_first_of(" \t", start) - start);
  if (program.front() == '-' || program.find_first_of("'\"=*?[]~\\!#") != std::string::npos) {
    return std::nullopt;
  }
  if (program.find('/') != std::string::npos) {
    struct stat status {};
    return ::stat(program.c_str(), &status) == 0 ? std::nullopt : std::optional(program);
  }
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (executable_file((folder.empty() ? "." : folder) + "/" + program)) {
      return std::nullopt;
    }
  }
  // Not a file on the path, but maybe one of the shell's own commands (exit, cd, ...).
  if (std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0) {
    return std::nullopt;
  }
  return program;
}

void report_missing(const std::string& program) {
  missing_program_reporter reporter;
  {
    std::lock_guard lock(reporter_mutex);
    if (!installed_reporter || !reported_programs.insert(program).second) {
      return;
    }
    reporter = installed_reporter;
  }
  reporter(program);
}

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

int run_in_shell(const std::string& command) {
  if (const auto program = missing_program(command)) {
    report_missing(*program);
    return W_EXITCODE(127, 0);
  }
  return std::system(command.c_str());
}

missing_program_reporter set_missing_program_reporter(missing_program_reporter replacement) {
  std::lock_guard lock(reporter_mutex);
  std::swap(installed_reporter, replacement);
  reported_programs.clear();
  return replacement;
}

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

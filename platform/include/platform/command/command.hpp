#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The command runner behind the C library's system(): launchctl, open, killall, osascript.
namespace platform::command {

// Takes one command line and returns a system()-style wait status.
using runner = std::function<int(const std::string& command)>;

// Runs the command through the installed runner, or through the shell when none is installed.
int run(const std::string& command);

// system(): the command runs through /bin/sh; the result is its wait status, or -1 when no shell
// could be started. A command whose program does not exist is not run: it answers as the shell
// would (exit status 127) without the shell's message, and the missing-program reporter hears of it.
int run_in_shell(const std::string& command);

// Hears of each program that commands name but that does not exist, once a program.
using missing_program_reporter = std::function<void(const std::string& program)>;

// Installs the reporter for the whole process (empty: none), which hears of every program afresh;
// returns the one it replaces.
missing_program_reporter set_missing_program_reporter(missing_program_reporter replacement);

// Installs a runner for the whole process and returns the one it replaces; an empty runner means
// the shell.
runner set_runner(runner replacement);

// While it exists, commands are recorded instead of run, each answered with `status`.
// Recorders nest; each puts back the runner it found.
class recorder final {
public:
  explicit recorder(int status = 0);
  ~recorder();

  recorder(const recorder&) = delete;
  recorder& operator=(const recorder&) = delete;

  // Every command run so far, in order.
  std::vector<std::string> commands() const;

private:
  struct state;

  std::shared_ptr<state> state_;
  runner previous_;
};

} // namespace platform::command

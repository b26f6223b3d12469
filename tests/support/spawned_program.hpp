#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace hbd_test {

// A helper program (see programs/) started with posix_spawn in the test's environment, so that it
// acts as another process would.
class spawned_program final {
public:
  // Starts the program with these arguments; fails the test when it cannot be started.
  spawned_program(const std::string& program, const std::vector<std::string>& arguments);
  // Waits for a program still running.
  ~spawned_program();

  spawned_program(const spawned_program&) = delete;
  spawned_program& operator=(const spawned_program&) = delete;

  // True once the program has ended; never waits.
  bool ended();
  // Waits for the program; true when it exited with status 0.
  bool wait();

private:
  bool reap(int options);

  pid_t pid_ = -1;
  bool succeeded_ = false;
};

} // namespace hbd_test

#pragma once

#include "support/spawned_program.hpp"

#include <string>
#include <vector>

namespace hbd_test {

// The helper program that changes files from another process (see programs/file_writer_process.cpp
// for its commands), started with posix_spawn.
class file_writer_process final {
public:
  // Starts the helper with these arguments; fails the test when it cannot be started.
  explicit file_writer_process(const std::vector<std::string>& arguments);

  // Waits for the helper; true when it exited with status 0.
  bool wait() { return program_.wait(); }

  // Starts the helper and waits for it; true when every command worked.
  static bool run(const std::vector<std::string>& arguments);

private:
  spawned_program program_;
};

} // namespace hbd_test

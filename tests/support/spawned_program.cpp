#include "support/spawned_program.hpp"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace hbd_test {

spawned_program::spawned_program(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> strings;
  strings.push_back(program);
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& s : strings) {
    argv.push_back(s.data());
  }
  argv.push_back(nullptr);

  const int error = ::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    pid_ = -1;
    ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(error);
  }
}

spawned_program::~spawned_program() { wait(); }

bool spawned_program::ended() { return reap(WNOHANG); }

bool spawned_program::wait() {
  reap(0);
  return succeeded_;
}

// True when the program has ended (now or before).
bool spawned_program::reap(int options) {
  if (pid_ < 0) {
    return true;
  }
  int status = 0;
  pid_t result = 0;
  do {
    result = ::waitpid(pid_, &status, options);
  } while (result < 0 && errno == EINTR);
  if (result == 0) {
    return false;
  }
  pid_ = -1;
  succeeded_ = result > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return true;
}

} // namespace hbd_test

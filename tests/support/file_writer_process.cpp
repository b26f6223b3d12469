#include "support/file_writer_process.hpp"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace hbd_test {

file_writer_process::file_writer_process(const std::vector<std::string>& arguments) {
  std::vector<std::string> strings;
  strings.emplace_back(HBD_FILE_WRITER_PROCESS);
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& s : strings) {
    argv.push_back(s.data());
  }
  argv.push_back(nullptr);

  const int error = ::posix_spawn(&pid_, HBD_FILE_WRITER_PROCESS, nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    pid_ = -1;
    ADD_FAILURE() << "cannot start " << HBD_FILE_WRITER_PROCESS << ": " << std::strerror(error);
  }
}

file_writer_process::~file_writer_process() { wait(); }

bool file_writer_process::wait() {
  if (pid_ < 0) {
    return succeeded_;
  }
  int status = 0;
  pid_t result = 0;
  do {
    result = ::waitpid(pid_, &status, 0);
  } while (result < 0 && errno == EINTR);
  pid_ = -1;
  succeeded_ = result > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return succeeded_;
}

bool file_writer_process::run(const std::vector<std::string>& arguments) {
  file_writer_process process(arguments);
  return process.wait();
}

} // namespace hbd_test

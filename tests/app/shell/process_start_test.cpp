#include "shell/ProcessStart.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <initializer_list>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Runs in a child of the test, which may close its own standard descriptors: only calls that are
// safe after fork().
bool preparedAfterClosing(std::initializer_list<int> closed) {
  struct stat before[3];
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (::fstat(descriptor, &before[descriptor]) != 0) {
      return false;
    }
  }
  for (const int descriptor : closed) {
    ::close(descriptor);
  }
  grellan::prepareProcessStart();

  struct stat null {};
  if (::stat("/dev/null", &null) != 0) {
    return false;
  }
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    struct stat now {};
    bool wasClosed = false;
    for (const int each : closed) {
      wasClosed = wasClosed || each == descriptor;
    }
    if (::fstat(descriptor, &now) != 0 || !sameFile(now, wasClosed ? null : before[descriptor])) {
      return false;
    }
  }
  // A pipe whose reader is gone answers a write with an error, not with a signal that ends us.
  int pipe[2];
  if (::pipe(pipe) != 0) {
    return false;
  }
  ::close(pipe[0]);
  return ::write(pipe[1], "x", 1) == -1 && errno == EPIPE;
}

TEST(ProcessStart, closed_standard_descriptors_lead_to_dev_null_and_a_reader_that_went_away_is_an_error) {
  const std::initializer_list<int> cases[] = {{}, {1}, {0, 2}, {0, 1, 2}};
  for (const auto& closed : cases) {
    SCOPED_TRACE(closed.size());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::_exit(preparedAfterClosing(closed) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
}

} // namespace

#include "support/app/platform/file_size_limit.hpp"

#include "support/file_size_limit.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace grellan_test {

int exitStatusUnderFileSizeLimit(rlim_t limit, const std::function<int()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    const hbd_test::scoped_file_size_limit limited(limit);
    // Not exit(): the parent's atexit handlers and Qt's objects belong to the parent.
    ::_exit(work());
  }
  if (child < 0) {
    return -1;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      return -1;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace grellan_test

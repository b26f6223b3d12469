#include "shell/ProcessStart.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace grellan {

void prepareProcessStart() {
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
      // open() takes the lowest free descriptor: this one, since those below are open by now.
      ::open("/dev/null", O_RDWR);
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
}

} // namespace grellan

#include "zunto/filesystem/scoped_descriptor.hpp"

#include <unistd.h>

namespace zunto::filesystem {

bool scoped_descriptor::reset() {
  if (fd_ < 0) {
    return true;
  }
  const bool ok = ::close(fd_) == 0;
  fd_ = -1;
  return ok;
}

} // namespace zunto::filesystem

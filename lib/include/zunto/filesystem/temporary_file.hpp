#pragma once

#include "zunto/filesystem/scoped_descriptor.hpp"

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace zunto::filesystem {

// A new file beside a target, written and then renamed over it. Its name is the target's with
// ".tmp.<pid>.<n>" appended and it is made with O_EXCL, so two writes of one target (threads or
// processes) never share one, and the pid tells a later write whose file a leftover is.
struct temporary_file final {
  scoped_descriptor descriptor;
  std::string path;

  // Made with no more than `mode` (less the umask). An empty descriptor, with errno set, when no
  // file could be made.
  static temporary_file create_beside(const std::string& target, mode_t mode);
};

// Removes from `directory` the temporary files (named as above) of the targets whose names
// `is_target_name` accepts and whose process is no longer running: what a process killed in the
// middle of a write left. A running process's file stays, so another program's write under way is
// never cut short.
void remove_stale_temporary_files(const std::string& directory,
                                  const std::function<bool(std::string_view)>& is_target_name);

} // namespace zunto::filesystem

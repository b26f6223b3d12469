#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace hbd_bench {

// Starts a Qt program on the offscreen platform with HOME, the XDG folders and the backend's system
// root in `home`. Its standard output goes to `output` (a file descriptor; -1: discarded), its
// errors are discarded. Returns the process id, -1 when it could not be started.
pid_t spawn_offscreen_program(const std::vector<std::string>& command, const std::string& home, int output = -1);

} // namespace hbd_bench

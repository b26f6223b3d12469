#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// Reading files another program or the user can replace: never waiting on a FIFO or device planted
// at the path, and never reading without bound.
namespace platform::files {

// Opens a file to read from without blocking on a FIFO (or a device) at the path, and refuses
// anything but a regular file (errno EINVAL): reading such a thing could wait or never end.
// The descriptor, which the caller closes, or -1 with errno set.
int open_regular_file(const std::string& path);

// Hands what the descriptor holds, to its end, to `chunk` a piece at a time, going on after short and
// interrupted reads. False, with errno set, when a read failed or `chunk` answered false.
bool read_chunks(int fd, const std::function<bool(std::string_view)>& chunk);

// Reads the descriptor to its end, going on after short and interrupted reads. Empty, with errno
// set, when a read failed, or with errno EFBIG when there are more than max_size bytes.
std::optional<std::string> read_all(int fd, std::size_t max_size = std::numeric_limits<std::size_t>::max());

// The whole content of a regular file of at most max_size bytes, opened as open_regular_file opens
// it. Empty, with errno set, when it cannot be opened or read: EINVAL when it is not a regular file,
// EFBIG when it is larger.
std::optional<std::string> read_regular_file(const std::string& path, std::size_t max_size);

} // namespace platform::files

#pragma once

#include "platform/files/regular_file.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace zunto::filesystem {

// The parent of a path, found on its text alone: one trailing "/" is ignored, then the part before
// the last "/" is taken ("/" when that is the first character); "." when there is no "/" or the
// path is empty. "/" is its own parent.
std::string parent_directory(std::string_view path);

// Creates the directory and its missing parents with `mode` (less the umask), then sets the
// directory itself to exactly `mode`. True when, on return, the path is a directory with that mode.
bool create_directory_with_intermediate_directories(const std::string& path, std::uint16_t mode);

// Writes every byte to the descriptor, going on after short writes and interrupted calls.
// False, with errno set, when a write failed.
bool write_all(int fd, std::string_view data);

// Reading to the end of a descriptor, and reading a regular file of bounded size without waiting
// on a FIFO or device at the path: see platform/files/regular_file.hpp.
using platform::files::read_all;
using platform::files::read_regular_file;

// Replaces the destination with a copy of the source's bytes. The copy goes to a temporary file
// beside the destination and is renamed over it, so a failed copy leaves the destination as it was
// and copying a file onto itself keeps it whole. An existing destination keeps its mode. The source
// is opened as read_regular_file opens it: never waited on, and refused (errno EINVAL) when it is no
// regular file. False when anything failed.
bool copy(const std::string& source, const std::string& destination);

// Copies the source's bytes to a new file at the destination with exactly `mode`. An existing
// destination is never replaced, not even one that appears during the copy (false, errno EEXIST).
// A source that is no regular file is refused as copy refuses it.
// The file and its entry in the folder are on the disk when it returns true.
bool copy_to_new_file(const std::string& source, const std::string& destination, std::uint16_t mode);

// Syncs a folder, so that the entries made or renamed in it survive a crash. File systems that
// cannot sync a folder count as done. False, with errno set, when the sync failed.
bool sync_directory(const std::string& path);

// The path that the symbolic links at the end of `path` lead to (relative targets are taken from
// the link's folder), or `path` itself when it is no link; a target need not exist. Empty when the
// links loop or a link cannot be read.
std::optional<std::string> resolve_symbolic_links(const std::string& path);

} // namespace zunto::filesystem

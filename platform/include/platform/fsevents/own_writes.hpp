#pragma once

#include <string>

// The kernel's file events do not say which process made a change, so this process's writers note
// every file they put in place; a stream marks an event as the process's own when the file is
// still exactly the one noted.
namespace platform::fsevents {

// Records the file's identity (device, inode, size, modification time to the nanosecond). Call it
// once the file's bytes are final: just before renaming a finished temporary file into place (the
// rename keeps the identity), or right after the write. A file that cannot be examined is ignored.
void note_own_write(const std::string& path) noexcept;

// True when the file at `path` (symbolic links followed) is exactly a file noted above. A rewrite in
// place to the same size within one tick of the file system's clock looks the same.
bool is_own_write(const std::string& path);

} // namespace platform::fsevents

#pragma once

#include <sys/types.h>

#include <filesystem>
#include <mutex>

namespace hbd {

// A single-instance lock: an exclusively locked pid file holding the holder's process id and a
// line feed. The lock lasts until unlock_single_application or the end of the process.
class process_utility final {
public:
  process_utility() = delete;

  // True when this process now holds the lock on `pid_file_path` (also when it already did; the
  // file is then rewritten). False when another process or descriptor holds it (a child made by
  // fork of the holder included), or when this process already holds the lock on another file; the
  // file is left as it was either way. Throws std::runtime_error: "failed to get user pid
  // directory" (no parent directory), "failed to create pid directory", "failed to create pid file"
  // (also for anything but a regular file at the path, a symbolic link included).
  static bool lock_single_application(const std::filesystem::path& pid_file_path);

  // The same for a file of this name in the user pid directory; throws "failed to get user pid
  // directory" when that directory is unknown and "invalid pid file name" for anything but a plain
  // file name (empty, ".", "..", or holding a "/").
  static bool lock_single_application_with_user_pid_file(const std::filesystem::path& pid_file_name);

  // Releases a held lock; the pid file stays on disk. Does nothing when no lock is held.
  static void unlock_single_application();

  // Guards the held descriptor.
  static std::mutex& get_mutex();

private:
  static int& get_single_application_lock_pid_file_descriptor();
  // The process that took the lock; a child made by fork inherits the descriptor, not the lock.
  static pid_t& get_single_application_lock_holder();
  static void forget_inherited_descriptor();
};

} // namespace hbd

#pragma once

#include "zunto/filesystem/file_identity.hpp"

#include <cstdint>
#include <string>

namespace hbd {

// Writes files on the file-writer dispatcher, one at a time in the order asked. Each write goes to
// a temporary file of its own beside the target (zunto::filesystem::temporary_file) and is then
// renamed over the target, so readers see the old file or the new one, never a part, and writes of
// one target from several processes never meddle with each other: each lands whole or fails, and
// the last rename wins. A failed write leaves the target as it was. Temporary files that killed
// writers left beside the target are removed first. Missing parent directories are made with the
// directory mode; the file gets exactly the file mode.
class async_file_writer final {
public:
  async_file_writer() = delete;

  // Queues the write and returns at once. Failures are logged. Dropped when no file writer exists.
  static void enqueue(std::string path, std::string body, std::uint16_t directory_mode, std::uint16_t file_mode);

  // Queues the write behind all earlier ones, waits until it has run and has reached the disk (the
  // rename too), and gives the identity of the file it put in place. Without a file writer it
  // writes on the calling thread. Throws std::runtime_error saying what failed (empty path, or a
  // failed step).
  // Never call it from a job on the file-writer dispatcher: it would wait for itself.
  static zunto::filesystem::file_identity sync_save(std::string path, const std::string& body,
                                                    std::uint16_t directory_mode, std::uint16_t file_mode);

  // Blocks until every write queued before it has run. Returns at once when no file writer exists.
  // Never call it from a job on the file-writer dispatcher.
  static void wait();
};

} // namespace hbd

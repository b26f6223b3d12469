#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct stat;

namespace zunto::filesystem {

// Tells one version of a file from another: a file replaced, or rewritten in place, gets another
// identity (a rewrite to the same size within one tick of the file system's clock aside).
struct file_identity final {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modified_seconds = 0;
  std::int64_t modified_nanoseconds = 0;

  bool operator==(const file_identity&) const = default;

  static file_identity of(const struct stat& status);
  // Empty when the descriptor or path (symbolic links followed) cannot be examined.
  static std::optional<file_identity> of(int fd);
  static std::optional<file_identity> of(const std::string& path);
};

} // namespace zunto::filesystem

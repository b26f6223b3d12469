#pragma once

#include <filesystem>

namespace hbd {

class filesystem_utility final {
public:
  filesystem_utility() = delete;

  // The socket a client should connect to in the grabber's socket directory: of the entries
  // matching "*.sock", the greatest in path order (byte order, so 999.sock wins over 1000.sock).
  // When none matches, "not_found.sock" in that directory, which no socket has, so connecting fails.
  static std::filesystem::path find_socket_file_path(const std::filesystem::path& directory);
};

} // namespace hbd

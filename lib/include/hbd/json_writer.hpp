#pragma once

#include "zunto/filesystem/file_identity.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>

namespace hbd {

// Saves JSON documents through the file writer as text with a 4-space indent, non-ASCII characters
// kept as UTF-8 and invalid UTF-8 in strings left out.
class json_writer final {
public:
  json_writer() = delete;

  // Serialises now and queues the write (hbd::async_file_writer::enqueue).
  static void async_save_to_file(const nlohmann::json& json, const std::string& file_path, std::uint16_t directory_mode,
                                 std::uint16_t file_mode);

  // Serialises and writes before returning (hbd::async_file_writer::sync_save), giving the identity
  // of the written file; throws std::runtime_error when the file could not be written.
  static zunto::filesystem::file_identity sync_save_to_file(const nlohmann::json& json, const std::string& file_path,
                                                            std::uint16_t directory_mode, std::uint16_t file_mode);
};

} // namespace hbd

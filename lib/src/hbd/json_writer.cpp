#include "hbd/json_writer.hpp"

#include "hbd/async_file_writer.hpp"

#include <nlohmann/json.hpp>

namespace hbd {
namespace {

std::string to_text(const nlohmann::json& json) {
  return json.dump(4, ' ', false, nlohmann::json::error_handler_t::ignore);
}

} // namespace

void json_writer::async_save_to_file(const nlohmann::json& json, const std::string& file_path,
                                     std::uint16_t directory_mode, std::uint16_t file_mode) {
  async_file_writer::enqueue(file_path, to_text(json), directory_mode, file_mode);
}

zunto::filesystem::file_identity json_writer::sync_save_to_file(const nlohmann::json& json,
                                                                const std::string& file_path,
                                                                std::uint16_t directory_mode, std::uint16_t file_mode) {
  return async_file_writer::sync_save(file_path, to_text(json), directory_mode, file_mode);
}

} // namespace hbd

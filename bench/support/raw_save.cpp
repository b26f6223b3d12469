#include "support/raw_save.hpp"

#include "zunto/filesystem/filesystem.hpp"

#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include <cstdio>

namespace hbd_bench {

namespace {

// By hand, as the rest of the baseline: `path` always names a file inside a scratch folder.
bool sync_folder_of(const std::string& path) {
  const auto folder = path.substr(0, path.rfind('/'));
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

} // namespace

bool raw_write_and_rename(const std::string& path, const std::string& text, durability level) {
  const auto temporary_path = path + ".tmp";
  const int fd = ::open(temporary_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  const bool written = zunto::filesystem::write_all(fd, text) && (level == durability::none || ::fsync(fd) == 0);
  return ::close(fd) == 0 && written && std::rename(temporary_path.c_str(), path.c_str()) == 0 &&
         (level != durability::file_and_folder || sync_folder_of(path));
}

bool dump_write_and_rename(const std::string& path, const nlohmann::json& json, durability level) {
  return raw_write_and_rename(path, json.dump(4, ' ', false, nlohmann::json::error_handler_t::ignore), level);
}

} // namespace hbd_bench

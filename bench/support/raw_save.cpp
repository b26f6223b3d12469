#include "support/raw_save.hpp"

#include "zunto/filesystem/filesystem.hpp"

#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include <cstdio>

namespace hbd_bench {

bool raw_write_and_rename(const std::string& path, const std::string& text, bool sync_to_disk) {
  const auto temporary_path = path + ".tmp";
  const int fd = ::open(temporary_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  const bool written = zunto::filesystem::write_all(fd, text) && (!sync_to_disk || ::fsync(fd) == 0);
  return ::close(fd) == 0 && written && std::rename(temporary_path.c_str(), path.c_str()) == 0;
}

bool dump_write_and_rename(const std::string& path, const nlohmann::json& json, bool sync_to_disk) {
  return raw_write_and_rename(path, json.dump(4, ' ', false, nlohmann::json::error_handler_t::ignore), sync_to_disk);
}

} // namespace hbd_bench

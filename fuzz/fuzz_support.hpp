#pragma once

#include "hbd/logger.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace hbd_fuzz {

// One file in a private folder that each input is written to, removed when the process ends.
// The name may lead through folders, which are made.
class input_file final {
public:
  explicit input_file(const char* name) {
    // Memory-backed when possible: each input is a file write, and a disk makes that the slow part.
    std::error_code error;
    const auto base = std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0
                          ? std::filesystem::path("/dev/shm")
                          : std::filesystem::temp_directory_path();
    std::string pattern = (base / "hbd_fuzz.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    directory_ = pattern;
    path_ = (directory_ / name).string();
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
    // Readers log every bad input; the log would only slow the run down.
    hbd::logger::get_logger()->set_level(spdlog::level::off);
  }

  ~input_file() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  input_file(const input_file&) = delete;
  input_file& operator=(const input_file&) = delete;

  const std::filesystem::path& directory() const { return directory_; }

  const std::string& write(const std::uint8_t* data, std::size_t size) const {
    // A new file each time: truncating one that holds data makes some file systems flush it.
    ::unlink(path_.c_str());
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      std::perror("open");
      std::abort();
    }
    while (size > 0) {
      const ssize_t written = ::write(fd, data, size);
      if (written <= 0) {
        std::perror("write");
        std::abort();
      }
      data += written;
      size -= static_cast<std::size_t>(written);
    }
    ::close(fd);
    return path_;
  }

private:
  std::filesystem::path directory_;
  std::string path_;
};

} // namespace hbd_fuzz

#include "support/app/platform/odd_files.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace grellan_test {

const char* name(OddFile kind) {
  switch (kind) {
    case OddFile::fifo:
      return "a FIFO";
    case OddFile::folder:
      return "a folder";
    case OddFile::linkToDevice:
      return "a link to /dev/zero";
  }
  return "";
}

void plant(const std::filesystem::path& path, OddFile kind) {
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path.parent_path());
  switch (kind) {
    case OddFile::fifo:
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
      break;
    case OddFile::folder:
      std::filesystem::create_directory(path);
      break;
    case OddFile::linkToDevice:
      std::filesystem::create_symlink("/dev/zero", path);
      break;
  }
}

bool stillThere(const std::filesystem::path& path, OddFile kind) {
  const auto status = std::filesystem::symlink_status(path);
  switch (kind) {
    case OddFile::fifo:
      return status.type() == std::filesystem::file_type::fifo;
    case OddFile::folder:
      return status.type() == std::filesystem::file_type::directory;
    case OddFile::linkToDevice:
      return status.type() == std::filesystem::file_type::symlink && std::filesystem::read_symlink(path) == "/dev/zero";
  }
  return false;
}

} // namespace grellan_test

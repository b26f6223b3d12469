#include "support/files.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace hbd_test {

std::string read_file(const std::filesystem::path& path) {
  std::ifstream input(path, std::ios::binary);
  std::ostringstream content;
  content << input.rdbuf();
  return content.str();
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

void make_hostile_file(const std::filesystem::path& path, hostile_file kind, std::uintmax_t size) {
  switch (kind) {
    case hostile_file::fifo:
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
      break;
    case hostile_file::endless_device:
      std::filesystem::create_symlink("/dev/zero", path);
      break;
    case hostile_file::sparse: {
      std::ofstream(path, std::ios::binary);
    }
      std::filesystem::resize_file(path, size);
      break;
  }
}

void replace_file(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::create_directories(path.parent_path());
  auto temporary = path;
  temporary += ".tmp";
  write_file(temporary, content);
  std::filesystem::rename(temporary, path);
}

mode_t mode_of(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

std::filesystem::path stale_temporary_file(const std::filesystem::path& target) {
  const auto pid_max = read_file("/proc/sys/kernel/pid_max");
  EXPECT_FALSE(pid_max.empty()) << "cannot read the pid limit";
  auto path = target;
  path += ".tmp." + pid_max.substr(0, pid_max.find('\n')) + ".0";
  return path;
}

std::set<std::string> entry_names(const std::filesystem::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

scoped_umask::scoped_umask(mode_t mask) : previous_(::umask(mask)) {}

scoped_umask::~scoped_umask() { ::umask(previous_); }

} // namespace hbd_test

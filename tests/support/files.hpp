#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

namespace hbd_test {

// The file's bytes; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& content);
// Writes a file beside it and renames it into place, so a reader on another thread never sees it
// half written. Makes the parent folder when it is missing.
void replace_file(const std::filesystem::path& path, const std::string& content);

// What a path may hold that a reader must neither wait on nor read whole: a FIFO nobody writes, a
// link to an endless device, a sparse file of `size` bytes.
enum class hostile_file { fifo, endless_device, sparse };
void make_hostile_file(const std::filesystem::path& path, hostile_file kind, std::uintmax_t size = 0);

// The permission bits (file type masked off); a test failure when the path cannot be stat'ed.
mode_t mode_of(const std::filesystem::path& path);

// Where a write of `target` that was killed part way left its temporary file: the name the writers
// give one, with the pid of no running process (the kernel's pid limit, which no process gets).
std::filesystem::path stale_temporary_file(const std::filesystem::path& target);

// The names in a directory, sorted.
std::set<std::string> entry_names(const std::filesystem::path& directory);

// Sets the process umask for one test and puts the old one back.
class scoped_umask final {
public:
  explicit scoped_umask(mode_t mask);
  ~scoped_umask();

  scoped_umask(const scoped_umask&) = delete;
  scoped_umask& operator=(const scoped_umask&) = delete;

private:
  mode_t previous_;
};

} // namespace hbd_test

#include "hbd/process_utility.hpp"

#include "hbd/constants.hpp"
#include "zunto/filesystem/filesystem.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace hbd {
namespace {

bool same_file(int fd, const std::filesystem::path& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// Only the holder may empty the file, so a refused attempt never wipes the holder's pid.
void write_pid(int fd) {
  const std::string text = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) != 0) {
    return;
  }
  (void)::pwrite(fd, text.data(), text.size(), 0);
}

} // namespace

std::mutex& process_utility::get_mutex() {
  static std::mutex mutex;
  return mutex;
}

int& process_utility::get_single_application_lock_pid_file_descriptor() {
  static int fd = -1;
  return fd;
}

pid_t& process_utility::get_single_application_lock_holder() {
  static pid_t holder = 0;
  return holder;
}

void process_utility::forget_inherited_descriptor() {
  auto& fd = get_single_application_lock_pid_file_descriptor();
  auto& holder = get_single_application_lock_holder();
  // A child made by fork shares the parent's lock through the copied descriptor: it never held
  // the lock itself. Closing its copy leaves the parent's lock alone; unlocking it would not.
  if (fd >= 0 && holder != ::getpid()) {
    ::close(fd);
    fd = -1;
  }
}

bool process_utility::lock_single_application(const std::filesystem::path& pid_file_path) {
  std::lock_guard lock(get_mutex());
  forget_inherited_descriptor();
  auto& fd = get_single_application_lock_pid_file_descriptor();

  const auto directory = pid_file_path.parent_path();
  if (directory.empty()) {
    throw std::runtime_error("failed to get user pid directory");
  }

  if (fd >= 0) {
    if (!same_file(fd, pid_file_path)) {
      return false;
    }
    write_pid(fd);
    return true;
  }

  zunto::filesystem::create_directory_with_intermediate_directories(directory.string(), 0755);
  std::error_code error;
  if (!std::filesystem::is_directory(directory, error)) {
    throw std::runtime_error("failed to create pid directory");
  }

  // Without blocking: a FIFO planted at the path would wait for a reader. Without following a
  // link: the pid would overwrite whatever file it names. Only a regular file is a pid file; a
  // device, a FIFO or a link is refused like a path that cannot be opened.
  const int opened =
      ::open(pid_file_path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW, 0644);
  if (opened < 0) {
    throw std::runtime_error("failed to create pid file");
  }
  struct stat status {};
  if (::fstat(opened, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(opened);
    throw std::runtime_error("failed to create pid file");
  }

  int result = 0;
  do {
    result = ::flock(opened, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    ::close(opened);
    return false;
  }

  fd = opened;
  get_single_application_lock_holder() = ::getpid();
  write_pid(fd);
  return true;
}

bool process_utility::lock_single_application_with_user_pid_file(const std::filesystem::path& pid_file_name) {
  const auto& directory = constants::get_user_pid_directory();
  if (directory.empty()) {
    throw std::runtime_error("failed to get user pid directory");
  }
  // Anything but a plain name would lead out of the pid folder and empty some other file.
  const auto& name = pid_file_name.native();
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    throw std::runtime_error("invalid pid file name");
  }
  return lock_single_application(directory / pid_file_name);
}

void process_utility::unlock_single_application() {
  std::lock_guard lock(get_mutex());
  forget_inherited_descriptor();
  auto& fd = get_single_application_lock_pid_file_descriptor();
  if (fd >= 0) {
    ::flock(fd, LOCK_UN);
    ::close(fd);
    fd = -1;
  }
}

} // namespace hbd

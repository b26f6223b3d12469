#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/process_utility.hpp"
#include "libhbd.h"
#include "zunto/filesystem/filesystem.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

bool libhbd_user_pid_directory_writable(void) {
  return libhbd::guard_entry_point("libhbd_user_pid_directory_writable", false, [] {
    const auto& directory = hbd::constants::get_user_pid_directory();
    if (directory.empty()) {
      return false;
    }
    zunto::filesystem::create_directory_with_intermediate_directories(directory.string(), 0755);

    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) {
      return false;
    }

    // A fresh probe proves that a new file can be written, not just that an old one is there.
    const auto probe = directory / "doctor";
    std::filesystem::remove(probe, error);
    if (std::filesystem::exists(probe, error)) {
      return false;
    }
    // Writable only when the bytes went in: on a full disk the file is made but stays empty.
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
      return false;
    }
    const bool written = zunto::filesystem::write_all(fd, "writable");
    return ::close(fd) == 0 && written;
  });
}

bool libhbd_lock_single_application_with_user_pid_file(const char* pid_file_name) {
  return libhbd::guard_entry_point("libhbd_lock_single_application_with_user_pid_file", false, [&] {
    if (pid_file_name == nullptr) {
      return false;
    }
    return hbd::process_utility::lock_single_application_with_user_pid_file(pid_file_name);
  });
}

void libhbd_unlock_single_application(void) {
  libhbd::guard_entry_point("libhbd_unlock_single_application",
                            [] { hbd::process_utility::unlock_single_application(); });
}

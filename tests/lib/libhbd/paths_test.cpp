#include "libhbd.h"
#include "support/file_size_limit.hpp"
#include "support/files.hpp"
#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path system_root() { return std::getenv("HBD_SYSTEM_ROOT"); }
std::filesystem::path pid_directory() { return std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "hobbard/pid"; }

} // namespace

TEST(libhbd_paths, names_and_paths) {
  EXPECT_STREQ(libhbd_get_distributed_notification_observed_object(), "org.zunto.hobbard");
  EXPECT_STREQ(libhbd_get_distributed_notification_console_user_server_is_disabled(),
               "console_user_server_is_disabled");

  const auto configuration_directory = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard";
  EXPECT_EQ(std::string(libhbd_get_user_configuration_directory()), configuration_directory.string());
  EXPECT_EQ(std::string(libhbd_get_user_complex_modifications_assets_directory()),
            (configuration_directory / "assets/complex_modifications").string());
  EXPECT_EQ(std::string(libhbd_get_system_app_icon_configuration_file_path()),
            system_root().string() + "/Library/Application Support/org.zunto/config/hobbard_app_icon.json");
  // The same storage every time: callers may keep the pointer.
  EXPECT_EQ(libhbd_get_user_configuration_directory(), libhbd_get_user_configuration_directory());
}

TEST(libhbd_paths, system_core_configuration_file_path_exists_follows_the_file) {
  const auto directory = system_root() / "Library/Application Support/org.zunto/config";
  const auto file = directory / "hobbard.json";
  std::filesystem::create_directories(directory);
  ASSERT_FALSE(std::filesystem::exists(file));

  EXPECT_FALSE(libhbd_system_core_configuration_file_path_exists());
  hbd_test::write_file(file, "{}");
  EXPECT_TRUE(libhbd_system_core_configuration_file_path_exists());
  std::filesystem::remove(file);
  EXPECT_FALSE(libhbd_system_core_configuration_file_path_exists());
}

TEST(libhbd_pid_file, writable_probe_leaves_a_doctor_file) {
  std::filesystem::remove_all(pid_directory());

  ASSERT_TRUE(libhbd_user_pid_directory_writable());
  EXPECT_EQ(hbd_test::read_file(pid_directory() / "doctor"), "writable");
  EXPECT_EQ(hbd_test::mode_of(pid_directory()), 0755u);
  // A second probe replaces the old file.
  hbd_test::write_file(pid_directory() / "doctor", "stale content");
  ASSERT_TRUE(libhbd_user_pid_directory_writable());
  EXPECT_EQ(hbd_test::read_file(pid_directory() / "doctor"), "writable");

  std::filesystem::remove_all(pid_directory());
}

TEST(libhbd_pid_file, a_probe_whose_bytes_cannot_be_written_is_not_writable) {
  std::filesystem::remove_all(pid_directory());
  {
    // As on a full disk: the probe file is made, its bytes are refused.
    hbd_test::scoped_file_size_limit limit(0);
    EXPECT_FALSE(libhbd_user_pid_directory_writable());
  }
  EXPECT_TRUE(libhbd_user_pid_directory_writable());

  std::filesystem::remove_all(pid_directory());
}

// The user folders are computed once a process, so the child of a death test tries them afresh.
TEST(libhbd_pid_file_death_test, relative_xdg_folders_are_ignored_so_the_lock_holds_across_working_folders) {
  // This process holds the lock through the absolute folders; so does the child's own attempt
  // before its check, which this process has already won.
  std::filesystem::create_directories(pid_directory());
  const int holder = ::open((pid_directory() / "app.pid").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  const bool held = holder >= 0 && ::flock(holder, LOCK_EX | LOCK_NB) == 0;

  const auto check = [] {
    const hbd_test::temporary_directory working_folder;
    std::filesystem::current_path(working_folder.path());
    const std::string home = std::getenv("HOME");
    setenv("XDG_CONFIG_HOME", "~/.config", 1);
    setenv("XDG_DATA_HOME", "rel/data", 1);
    if (std::string(libhbd_get_user_configuration_directory()) != home + "/.config/hobbard") {
      std::exit(1);
    }
    if (libhbd_lock_single_application_with_user_pid_file("app.pid")) {
      std::exit(2);
    }
    std::exit(std::filesystem::is_empty(working_folder.path()) ? 0 : 3);
  };
  EXPECT_EXIT(check(), testing::ExitedWithCode(0), "")
      << "1: configuration folder not under HOME, 2: lock taken, 3: files in the working folder";

  EXPECT_TRUE(held);
  ::close(holder);
  std::filesystem::remove_all(pid_directory());
}

TEST(libhbd_pid_file, a_file_where_the_directory_belongs_makes_the_probe_false) {
  std::filesystem::remove_all(pid_directory());
  std::filesystem::create_directories(pid_directory().parent_path());
  hbd_test::write_file(pid_directory(), "not a directory");

  EXPECT_FALSE(libhbd_user_pid_directory_writable());
  // The lock cannot be taken either, and says so without throwing.
  EXPECT_FALSE(libhbd_lock_single_application_with_user_pid_file("app.pid"));

  std::filesystem::remove(pid_directory());
}

TEST(libhbd_pid_file, lock_and_unlock) {
  std::filesystem::remove_all(pid_directory());
  const auto file = pid_directory() / "app.pid";

  EXPECT_FALSE(libhbd_lock_single_application_with_user_pid_file(nullptr));
  // Unlocking without a lock does nothing.
  libhbd_unlock_single_application();

  ASSERT_TRUE(libhbd_lock_single_application_with_user_pid_file("app.pid"));
  EXPECT_EQ(hbd_test::read_file(file), std::to_string(::getpid()) + "\n");
  EXPECT_EQ(hbd_test::mode_of(file), 0644u);
  {
    // Another open file description sees the lock held.
    const int other = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);
  }

  libhbd_unlock_single_application();
  {
    const int other = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    // While this description holds it, the library cannot take it.
    EXPECT_FALSE(libhbd_lock_single_application_with_user_pid_file("app.pid"));
    ::close(other);
  }

  std::filesystem::remove_all(pid_directory());
}

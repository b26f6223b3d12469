#include "hbd/process_utility.hpp"

#include "hbd/constants.hpp"
#include "support/files.hpp"
#include "support/process_counts.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

using hbd_test::mode_of;
using hbd_test::read_file;
using hbd_test::write_file;

std::string own_pid_line() { return std::to_string(::getpid()) + "\n"; }

// True when a fresh descriptor cannot take the lock, i.e. someone holds it.
bool is_held(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return held;
}

class process_utility_test : public testing::Test {
protected:
  void TearDown() override { hbd::process_utility::unlock_single_application(); }

  hbd_test::temporary_directory directory_;
};

} // namespace

TEST_F(process_utility_test, a_second_process_is_refused_and_the_holders_pid_stays) {
  const auto path = directory_.path() / "pid/app.pid";
  // A child forked by the holder inherits the descriptor that holds the lock, but not the lock: it
  // may neither take the lock through it nor release the parent's.
  const struct {
    const char* name;
    bool forked_by_the_holder;
    bool child_unlocks_first;
  } cases[] = {
      {"forked before the lock is taken, with no descriptor of its own", false, false},
      {"forked by the holder", true, false},
      {"forked by the holder, unlocking first", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.forked_by_the_holder) {
      ASSERT_TRUE(hbd::process_utility::lock_single_application(path));
    }
    int go[2];
    ASSERT_EQ(::pipe(go), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(go[1]);
      char signal = 0;
      if (::read(go[0], &signal, 1) != 1) {
        ::_exit(10);
      }
      try {
        if (c.child_unlocks_first) {
          hbd::process_utility::unlock_single_application();
        }
        if (hbd::process_utility::lock_single_application(path)) {
          ::_exit(11);
        }
        ::_exit(read_file(path) == std::to_string(::getppid()) + "\n" ? 0 : 12);
      } catch (...) {
        ::_exit(13);
      }
    }
    ::close(go[0]);

    // Taken here when the child was forked first; taken again otherwise.
    ASSERT_TRUE(hbd::process_utility::lock_single_application(path));
    ASSERT_EQ(::write(go[1], "x", 1), 1);
    ::close(go[1]);

    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no signal, 11: lock taken, 12: pid file changed, 13: threw";

    EXPECT_EQ(read_file(path), own_pid_line());
    EXPECT_TRUE(is_held(path));
    EXPECT_EQ(mode_of(path), 0644u);
    EXPECT_EQ(mode_of(path.parent_path()), 0755u);
    // The holder's own state is untouched by what the child did.
    EXPECT_TRUE(hbd::process_utility::lock_single_application(path));
    hbd::process_utility::unlock_single_application();
  }
}

TEST_F(process_utility_test, a_refused_attempt_keeps_the_file_and_leaks_no_descriptor) {
  const auto path = directory_.path() / "app.pid";
  std::ofstream(path) << "4711\n";
  const int other = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

  const auto descriptors = hbd_test::descriptor_count();
  EXPECT_FALSE(hbd::process_utility::lock_single_application(path));
  EXPECT_FALSE(hbd::process_utility::lock_single_application(path));
  EXPECT_EQ(hbd_test::descriptor_count(), descriptors);
  EXPECT_EQ(read_file(path), "4711\n");

  // Once the other holder goes, the lock is ours and the file names us.
  ::close(other);
  EXPECT_TRUE(hbd::process_utility::lock_single_application(path));
  EXPECT_EQ(read_file(path), own_pid_line());
}

TEST_F(process_utility_test, the_holder_locks_again_and_can_lock_after_unlocking) {
  const auto path = directory_.path() / "app.pid";

  ASSERT_TRUE(hbd::process_utility::lock_single_application(path));
  std::ofstream(path, std::ios::trunc) << "garbage that is longer than a pid";
  // A repeat call by the holder keeps the lock and puts its pid back.
  EXPECT_TRUE(hbd::process_utility::lock_single_application(path));
  EXPECT_EQ(read_file(path), own_pid_line());
  EXPECT_TRUE(is_held(path));

  hbd::process_utility::unlock_single_application();
  EXPECT_FALSE(is_held(path));
  EXPECT_EQ(read_file(path), own_pid_line());        // the file stays
  hbd::process_utility::unlock_single_application(); // nothing held: nothing happens

  std::ofstream(path, std::ios::trunc) << "stale";
  EXPECT_TRUE(hbd::process_utility::lock_single_application(path));
  EXPECT_EQ(read_file(path), own_pid_line());
}

TEST_F(process_utility_test, holding_one_file_refuses_another_without_touching_it) {
  const auto held = directory_.path() / "held.pid";
  const auto other = directory_.path() / "other/other.pid";
  ASSERT_TRUE(hbd::process_utility::lock_single_application(held));

  EXPECT_FALSE(hbd::process_utility::lock_single_application(other));
  EXPECT_FALSE(std::filesystem::exists(other.parent_path()));
  EXPECT_TRUE(is_held(held));
}

TEST_F(process_utility_test, failures_throw_their_message_and_change_no_lock_state) {
  const auto plain_file = directory_.path() / "plain";
  std::ofstream(plain_file) << "plain";
  std::filesystem::create_directory(directory_.path() / "folder");
  // Opening a FIFO to write waits for a reader; a device is no file to lock.
  const auto fifo = directory_.path() / "fifo.pid";
  hbd_test::make_hostile_file(fifo, hbd_test::hostile_file::fifo);
  const auto device = directory_.path() / "device.pid";
  std::filesystem::create_symlink("/dev/null", device);
  // A link is never written through, not even to a regular file.
  const auto link = directory_.path() / "link.pid";
  std::filesystem::create_symlink(plain_file, link);

  const struct {
    std::filesystem::path path;
    const char* message;
  } cases[] = {
      {"app.pid", "failed to get user pid directory"},
      {plain_file / "app.pid", "failed to create pid directory"},
      {plain_file / "deeper/app.pid", "failed to create pid directory"},
      {directory_.path() / "folder", "failed to create pid file"},
      {fifo, "failed to create pid file"},
      {device, "failed to create pid file"},
      {link, "failed to create pid file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    hbd_test::watchdog watchdog(c.path.string());
    try {
      hbd::process_utility::lock_single_application(c.path);
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  EXPECT_EQ(read_file(plain_file), "plain");

  const auto path = directory_.path() / "app.pid";
  EXPECT_TRUE(hbd::process_utility::lock_single_application(path));
}

TEST_F(process_utility_test, user_pid_file_lies_in_the_user_pid_directory) {
  const auto expected = hbd::constants::get_user_pid_directory() / "grellan.pid";
  ASSERT_FALSE(hbd::constants::get_user_pid_directory().empty());

  ASSERT_TRUE(hbd::process_utility::lock_single_application_with_user_pid_file("grellan.pid"));
  EXPECT_EQ(read_file(expected), own_pid_line());
  EXPECT_TRUE(is_held(expected));
}

TEST_F(process_utility_test, a_user_pid_file_name_that_leads_out_of_the_pid_directory_is_refused) {
  const auto victim = directory_.path() / "victim";
  write_file(victim, "keep me");
  const auto pid_directory = hbd::constants::get_user_pid_directory();
  const auto back_up = std::filesystem::relative(victim, pid_directory).string();
  ASSERT_EQ(back_up.substr(0, 3), "../");

  for (const std::string& name :
       {victim.string(), back_up, std::string(".."), std::string("."), std::string(""), std::string("sub/app.pid")}) {
    SCOPED_TRACE(name);
    EXPECT_THAT([&] { hbd::process_utility::lock_single_application_with_user_pid_file(name); },
                testing::ThrowsMessage<std::runtime_error>(testing::StrEq("invalid pid file name")));
  }
  EXPECT_EQ(read_file(victim), "keep me");
  EXPECT_FALSE(is_held(victim));
}

// The user paths are computed once per process, so the unknown home is tried in a fresh child.
TEST(process_utility_death_test, no_user_data_directory_means_no_user_pid_file) {
  const auto check = [] {
    setenv("XDG_DATA_HOME", "", 1);
    try {
      hbd::process_utility::lock_single_application_with_user_pid_file("grellan.pid");
    } catch (const std::runtime_error& error) {
      std::exit(std::string(error.what()) == "failed to get user pid directory" ? 0 : 1);
    }
    std::exit(2);
  };
  EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
}

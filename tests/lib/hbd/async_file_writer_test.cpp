#include "hbd/async_file_writer.hpp"

#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "support/file_size_limit.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using hbd::async_file_writer;
using hbd_test::entry_names;
using hbd_test::mode_of;
using hbd_test::read_file;
using hbd_test::write_file;
using testing::HasSubstr;

std::string open_failure(const std::filesystem::path& path) {
  return "async_file_writer failed to open: " + path.string();
}

// The message of the exception that sync_save threw; empty when it succeeded.
std::string sync_save_error(const std::filesystem::path& path, const std::string& body) {
  try {
    async_file_writer::sync_save(path.string(), body, 0700, 0600);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return {};
}

// Every path below `root`, relative to it.
std::set<std::string> tree(const std::filesystem::path& root) {
  std::set<std::string> paths;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    paths.insert(entry.path().lexically_relative(root).string());
  }
  return paths;
}

// Changes into a folder for one test and back again: other tests may share this process.
class scoped_current_directory final {
public:
  explicit scoped_current_directory(const std::filesystem::path& path) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~scoped_current_directory() { std::filesystem::current_path(previous_); }

  scoped_current_directory(const scoped_current_directory&) = delete;
  scoped_current_directory& operator=(const scoped_current_directory&) = delete;

private:
  std::filesystem::path previous_;
};

class async_file_writer_test : public testing::Test {
protected:
  // Destroyed in reverse: the writer stops before the log capture and the folder go.
  hbd_test::temporary_directory directory_;
  hbd_test::log_capture log_;
  hbd::dispatcher_utility::scoped_dispatcher_manager manager_;
};

TEST_F(async_file_writer_test, creates_missing_parents_then_the_file_with_the_exact_modes) {
  const struct {
    std::uint16_t directory_mode;
    std::uint16_t file_mode;
    mode_t umask;
  } cases[] = {
      {0700, 0600, 022},
      {0755, 0644, 077}, // the umask takes nothing from the final modes
      {0750, 0640, 0},
  };
  int index = 0;
  for (const auto& c : cases) {
    hbd_test::scoped_umask mask(c.umask);
    const auto case_directory = directory_.path() / std::to_string(index++);
    const auto path = case_directory / "a/b/file.json";

    async_file_writer::enqueue(path.string(), "body", c.directory_mode, c.file_mode);
    async_file_writer::wait();

    SCOPED_TRACE(path);
    EXPECT_EQ(read_file(path), "body");
    EXPECT_EQ(mode_of(path), c.file_mode);
    EXPECT_EQ(mode_of(path.parent_path()), c.directory_mode);
    EXPECT_EQ(entry_names(path.parent_path()), std::set<std::string>{"file.json"});
  }
  EXPECT_TRUE(log_.entries().empty());
}

TEST_F(async_file_writer_test, path_without_a_slash_is_written_in_the_current_directory) {
  {
    scoped_current_directory current(directory_.path());
    async_file_writer::enqueue("plain.json", "plain", 0755, 0644);
    async_file_writer::wait();
  }
  EXPECT_EQ(read_file(directory_.path() / "plain.json"), "plain");
  EXPECT_EQ(mode_of(directory_.path() / "plain.json"), 0644u);
}

TEST_F(async_file_writer_test, queued_write_that_cannot_open_logs_the_target_path) {
  write_file(directory_.path() / "blocker", "a file, not a folder");
  const auto path = directory_.path() / "blocker/sub/file.json";

  async_file_writer::enqueue(path.string(), "body", 0700, 0600);
  async_file_writer::wait();

  EXPECT_EQ(log_.entries(), (std::vector<hbd_test::log_capture::entry>{{spdlog::level::err, open_failure(path)}}));
  EXPECT_EQ(read_file(directory_.path() / "blocker"), "a file, not a folder");
  EXPECT_EQ(entry_names(directory_.path()), std::set<std::string>{"blocker"});
}

// Every failure reaches the waiting caller and the log, leaves an existing target as it was and
// leaves no temporary file behind.
TEST_F(async_file_writer_test, failed_save_reports_and_keeps_the_target) {
  const auto& root = directory_.path();
  const struct {
    const char* name;
    std::filesystem::path path;
    std::function<void()> prepare;
    std::size_t body_size;
    std::string log_line;
  } cases[] = {
      {"regular file where the folder should be", root / "blocker/file.json",
       [&] { write_file(root / "blocker", "blocker"); }, 16, open_failure(root / "blocker/file.json")},
      {"the write fails part way", root / "full/file.json",
       [&] {
         std::filesystem::create_directory(root / "full");
         write_file(root / "full/file.json", "old body");
         std::filesystem::permissions(root / "full/file.json", std::filesystem::perms(0640));
       },
       std::size_t{64} * 1024, // past the file size limit below
       "async_file_writer failed to write: " + (root / "full/file.json").string() + ": File too large"},
      {"the target is a folder", root / "folder/file.json",
       [&] { std::filesystem::create_directories(root / "folder/file.json/kept"); }, 16,
       "async_file_writer failed to rename: " + (root / "folder/file.json").string() + ": Is a directory"},
  };

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    log_.clear();
    c.prepare();
    const auto tree_before = tree(root);
    const auto body_before = read_file(c.path);
    const bool existed = std::filesystem::exists(c.path);
    const auto mode_before = existed ? mode_of(c.path) : 0;

    std::string error;
    {
      // A larger body gets 4 KiB written (a short write), then EFBIG.
      hbd_test::scoped_file_size_limit limit(4096);
      error = sync_save_error(c.path, std::string(c.body_size, 'x'));
    }

    EXPECT_THAT(error, HasSubstr(c.path.string()));
    EXPECT_EQ(log_.entries(), (std::vector<hbd_test::log_capture::entry>{{spdlog::level::err, c.log_line}}));
    EXPECT_EQ(tree(root), tree_before);
    EXPECT_EQ(read_file(c.path), body_before);
    if (existed) {
      EXPECT_EQ(mode_of(c.path), mode_before);
    }
  }
}

TEST_F(async_file_writer_test, empty_path_is_refused) {
  EXPECT_EQ(sync_save_error("", "body"), "async_file_writer error: the file path is empty");
  EXPECT_TRUE(log_.wait_for_text("async_file_writer error: the file path is empty"));
}

TEST_F(async_file_writer_test, later_write_of_the_same_path_wins) {
  const auto path = directory_.path() / "file.json";
  async_file_writer::enqueue(path.string(), "first", 0700, 0600);
  async_file_writer::enqueue(path.string(), "second", 0700, 0600);
  async_file_writer::wait();
  EXPECT_EQ(read_file(path), "second");
  EXPECT_EQ(entry_names(directory_.path()), std::set<std::string>{"file.json"});
}

// What killed writers left goes; what a running process is writing, or what belongs to another
// target, stays.
TEST_F(async_file_writer_test, stale_temporary_files_are_removed_and_never_followed) {
  const auto& root = directory_.path();
  const auto target = root / "file.json";
  const auto running = root / ("file.json.tmp." + std::to_string(::getpid()) + ".999999999");
  const auto killed = hbd_test::stale_temporary_file(target);
  const auto other_target = hbd_test::stale_temporary_file(root / "other.json");
  write_file(root / "outside", "outside");
  // The name earlier versions wrote through, planted as a link.
  std::filesystem::create_symlink(root / "outside", root / "file.json.tmp");
  for (const auto& path : {running, killed, other_target}) {
    write_file(path, "part of a write");
  }

  EXPECT_EQ(sync_save_error(target, "new"), "");
  EXPECT_EQ(read_file(target), "new");
  EXPECT_EQ(mode_of(target), 0600u);
  EXPECT_EQ(read_file(root / "outside"), "outside");
  EXPECT_EQ(entry_names(root), (std::set<std::string>{"file.json", "outside", running.filename().string(),
                                                      other_target.filename().string()}));
}

TEST_F(async_file_writer_test, concurrent_saves_each_get_their_own_outcome) {
  write_file(directory_.path() / "blocker", "blocker");
  std::vector<std::string> errors(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < errors.size(); ++i) {
    threads.emplace_back([&, i] {
      const auto folder = i % 2 == 0 ? directory_.path() / "ok" : directory_.path() / "blocker";
      errors[i] = sync_save_error(folder / std::to_string(i), std::to_string(i));
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  for (std::size_t i = 0; i < errors.size(); ++i) {
    SCOPED_TRACE(i);
    if (i % 2 == 0) {
      EXPECT_EQ(errors[i], "");
      EXPECT_EQ(read_file(directory_.path() / "ok" / std::to_string(i)), std::to_string(i));
    } else {
      EXPECT_THAT(errors[i], HasSubstr((directory_.path() / "blocker" / std::to_string(i)).string()));
    }
  }
}

TEST(async_file_writer, without_a_file_writer_a_queued_write_is_dropped_and_a_waited_one_is_written_at_once) {
  hbd_test::temporary_directory directory;
  const auto path = directory.path() / "file.json";

  async_file_writer::enqueue(path.string(), "queued", 0700, 0600);
  async_file_writer::wait(); // returns: nothing can be queued, so nothing is pending
  EXPECT_TRUE(entry_names(directory.path()).empty());

  EXPECT_EQ(sync_save_error(path, "waited for"), "");
  EXPECT_EQ(read_file(path), "waited for");
  EXPECT_EQ(mode_of(path), 0600u);
  EXPECT_EQ(entry_names(directory.path()), std::set<std::string>{"file.json"});
}

} // namespace

// A file system without modes refuses fchmod; seccomp makes this process's fchmod fail the same way.
TEST(async_file_writer_death_test, a_refused_mode_change_is_a_warning_and_the_file_is_saved) {
  const auto check = [] {
    hbd_test::temporary_directory directory;
    const auto path = directory.path() / "saved.json";
    const std::array<sock_filter, 4> filter{{
        {static_cast<std::uint16_t>(BPF_LD | BPF_W | BPF_ABS), 0, 0,
         static_cast<std::uint32_t>(offsetof(seccomp_data, nr))},
        {static_cast<std::uint16_t>(BPF_JMP | BPF_JEQ | BPF_K), 0, 1, static_cast<std::uint32_t>(__NR_fchmod)},
        {static_cast<std::uint16_t>(BPF_RET | BPF_K), 0, 0, SECCOMP_RET_ERRNO | (EPERM & SECCOMP_RET_DATA)},
        {static_cast<std::uint16_t>(BPF_RET | BPF_K), 0, 0, SECCOMP_RET_ALLOW},
    }};
    sock_fprog program{static_cast<unsigned short>(filter.size()), const_cast<sock_filter*>(filter.data())};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
      std::exit(3);
    }
    // Started after the filter, so the writer's thread has it too.
    hbd::dispatcher_utility::scoped_dispatcher_manager manager;
    hbd_test::log_capture capture;
    if (!sync_save_error(path, "body").empty() || read_file(path) != "body") {
      std::exit(1);
    }
    const auto expected = std::vector<hbd_test::log_capture::entry>(
        {{spdlog::level::warn, "async_file_writer failed to set the mode of: " + path.string() + ": " +
                                   std::generic_category().message(EPERM)}});
    std::exit(capture.entries() == expected ? 0 : 2);
  };
  EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
}

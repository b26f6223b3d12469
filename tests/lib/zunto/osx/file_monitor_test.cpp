#include "zunto/osx/file_monitor.hpp"

#include "hbd/async_file_writer.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/logger.hpp"

#include "platform/fsevents/own_writes.hpp"
#include "platform/fsevents/stream.hpp"
#include "support/file_writer_process.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using zunto::osx::file_monitor;

constexpr auto report_timeout = std::chrono::seconds(5);

struct report {
  std::string path;
  std::optional<std::string> body; // none for a null body

  bool operator==(const report&) const = default;
  friend std::ostream& operator<<(std::ostream& stream, const report& value) {
    return stream << value.path << " = " << (value.body ? "\"" + *value.body + "\"" : "null");
  }
};

// Every file_changed report of one monitor, in order, taken one at a time by the test. The slot
// keeps what it needs alive itself, so the monitor may outlive this object.
class reports final {
public:
  reports(file_monitor& monitor, std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher)
      : state_(std::make_shared<state>()) {
    state_->dispatcher = std::move(dispatcher);
    monitor.file_changed.connect(
        [s = state_](const std::string& path, std::shared_ptr<std::vector<std::uint8_t>> body) {
          std::lock_guard lock(s->mutex);
          if (!s->dispatcher->dispatcher_thread()) {
            s->off_thread = true;
          }
          s->reports.push_back(
              {path, body ? std::optional<std::string>(std::string(body->begin(), body->end())) : std::nullopt});
          s->cv.notify_all();
        });
  }

  // The next report, waiting for it; a report with the path "(none)" when none came in time.
  report next() {
    std::unique_lock lock(state_->mutex);
    if (!state_->cv.wait_for(lock, report_timeout, [&] { return taken_ < state_->reports.size(); })) {
      return {"(none)", std::nullopt};
    }
    return state_->reports[taken_++];
  }

  std::vector<report> all() const {
    std::lock_guard lock(state_->mutex);
    return state_->reports;
  }

  bool off_thread() const {
    std::lock_guard lock(state_->mutex);
    return state_->off_thread;
  }

private:
  struct state {
    std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher;
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<report> reports;
    bool off_thread = false;
  };

  std::shared_ptr<state> state_;
  std::size_t taken_ = 0;
};

bool run(const std::vector<std::string>& commands) { return hbd_test::file_writer_process::run(commands); }

class zunto_osx_file_monitor : public testing::Test {
protected:
  ~zunto_osx_file_monitor() override { dispatcher_->terminate(); }

  std::unique_ptr<file_monitor> make_monitor(const std::vector<std::string>& files) {
    return std::make_unique<file_monitor>(dispatcher_, files, hbd::logger::get_logger());
  }

  struct started_monitor {
    std::unique_ptr<file_monitor> monitor;
    reports seen;
  };

  // A monitor whose reports are kept, started.
  started_monitor start(const std::vector<std::string>& files) {
    auto monitor = make_monitor(files);
    reports seen(*monitor, dispatcher_);
    monitor->async_start();
    return {std::move(monitor), std::move(seen)};
  }

  std::string path(const std::string& name) const { return (directory_.path() / name).string(); }

  void write_here(const std::string& name, const std::string& text) const { std::ofstream(path(name)) << text; }

  // Runs on the dispatcher after everything queued so far.
  void flush_dispatcher() {
    zunto::dispatcher::extra::dispatcher_client client(dispatcher_);
    auto done = zunto::make_thread_wait();
    client.enqueue_to_dispatcher([done] { done->notify(); }, zunto::dispatcher::time_point(1));
    done->wait_notice();
    client.detach_from_dispatcher();
  }

  hbd_test::temporary_directory directory_;
  std::shared_ptr<zunto::dispatcher::hardware_time_source> time_source_ =
      std::make_shared<zunto::dispatcher::hardware_time_source>();
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher_ =
      std::make_shared<zunto::dispatcher::dispatcher>(time_source_);
};

TEST_F(zunto_osx_file_monitor, reports_every_file_once_at_start_and_watches_each_folder_once) {
  std::filesystem::create_directory(path("d1"));
  std::filesystem::create_directory(path("d2"));
  write_here("d1/a", "alpha");
  write_here("d2/c", "gamma");
  auto [monitor, seen] = start({path("d1/a"), path("d1/b"), path("d2/c")});

  EXPECT_EQ(seen.next(), (report{path("d1/a"), "alpha"}));
  EXPECT_EQ(seen.next(), (report{path("d1/b"), std::nullopt}));
  EXPECT_EQ(seen.next(), (report{path("d2/c"), "gamma"}));
  EXPECT_EQ(platform::fsevents::copy_started_streams_paths(),
            (std::vector<std::vector<std::string>>{{path("d1"), path("d2")}}));

  // Each file of the shared folder on its own.
  ASSERT_TRUE(run({"write", path("d1/b"), "beta"}));
  EXPECT_EQ(seen.next(), (report{path("d1/b"), "beta"}));
  ASSERT_TRUE(run({"write", path("d1/a"), "alpha 2"}));
  EXPECT_EQ(seen.next(), (report{path("d1/a"), "alpha 2"}));
  EXPECT_FALSE(seen.off_thread());
}

TEST_F(zunto_osx_file_monitor, reports_each_real_change_by_another_process_once) {
  for (const std::string way : {"write", "replace"}) {
    SCOPED_TRACE(way);
    write_here("a", "1");
    write_here("fence", "0");
    auto [monitor, seen] = start({path("a"), path("fence")});
    ASSERT_EQ(seen.next(), (report{path("a"), "1"}));
    ASSERT_EQ(seen.next(), (report{path("fence"), "0"}));

    ASSERT_TRUE(run({way, path("a"), "2"}));
    EXPECT_EQ(seen.next(), (report{path("a"), "2"}));
    // The same bytes again: the fence's report comes next, so the rewrite gave none.
    ASSERT_TRUE(run({way, path("a"), "2"}));
    ASSERT_TRUE(run({"write", path("fence"), "1"}));
    EXPECT_EQ(seen.next(), (report{path("fence"), "1"}));
    EXPECT_EQ(seen.all().size(), 4u);
  }
}

TEST_F(zunto_osx_file_monitor, does_not_report_this_process_s_own_write) {
  write_here("a", "theirs");
  write_here("fence", "0");
  auto [monitor, seen] = start({path("a"), path("fence")});
  ASSERT_EQ(seen.next(), (report{path("a"), "theirs"}));
  ASSERT_EQ(seen.next(), (report{path("fence"), "0"}));

  // As the file writer puts a file in place.
  write_here("a.tmp", "mine");
  platform::fsevents::note_own_write(path("a.tmp"));
  std::filesystem::rename(path("a.tmp"), path("a"));
  ASSERT_TRUE(run({"write", path("fence"), "1"}));
  EXPECT_EQ(seen.next(), (report{path("fence"), "1"}));

  // The body was kept: the same bytes from another process are no change either.
  ASSERT_TRUE(run({"replace", path("a"), "mine"}));
  ASSERT_TRUE(run({"write", path("fence"), "2"}));
  EXPECT_EQ(seen.next(), (report{path("fence"), "2"}));

  ASSERT_TRUE(run({"replace", path("a"), "theirs again"}));
  EXPECT_EQ(seen.next(), (report{path("a"), "theirs again"}));
}

TEST_F(zunto_osx_file_monitor, reports_another_process_s_file_that_replaced_an_own_write_before_it_was_read) {
  write_here("a", "theirs");
  auto [monitor, seen] = start({path("a")});
  ASSERT_EQ(seen.next(), (report{path("a"), "theirs"}));

  // The dispatcher is held, so the own write's event, delivered while the file is this process's,
  // is handled only once another process has put its file in place.
  auto release = zunto::make_thread_wait();
  zunto::dispatcher::extra::dispatcher_client client(dispatcher_);
  client.enqueue_to_dispatcher([release] { release->wait_notice(); }, zunto::dispatcher::time_point(1));
  write_here("a.tmp", "mine");
  platform::fsevents::note_own_write(path("a.tmp"));
  std::filesystem::rename(path("a.tmp"), path("a"));
  // Well past the stream's latency, so that the event is delivered before the replacement; when it
  // comes later it is not marked as this process's, and the report is the same.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_TRUE(run({"replace", path("a"), "theirs again"}));
  release->notify();
  client.detach_from_dispatcher();

  EXPECT_EQ(seen.next(), (report{path("a"), "theirs again"}));
}

TEST_F(zunto_osx_file_monitor, does_not_report_a_save_through_the_file_writer) {
  hbd::dispatcher_utility::scoped_dispatcher_manager manager;
  write_here("a", "theirs");
  write_here("fence", "0");
  auto [monitor, seen] = start({path("a"), path("fence")});
  ASSERT_EQ(seen.next(), (report{path("a"), "theirs"}));
  ASSERT_EQ(seen.next(), (report{path("fence"), "0"}));

  hbd::async_file_writer::sync_save(path("a"), "mine", 0700, 0644);
  ASSERT_TRUE(run({"write", path("fence"), "1"}));
  EXPECT_EQ(seen.next(), (report{path("fence"), "1"}));
}

TEST_F(zunto_osx_file_monitor, matches_a_path_through_a_symbolic_link_by_its_resolved_path) {
  std::filesystem::create_directory(path("real"));
  std::filesystem::create_directory_symlink(path("real"), path("link"));
  write_here("real/a", "a1");
  write_here("real/target", "t1");
  std::filesystem::create_symlink(path("real/target"), path("real/linked"));
  auto [monitor, seen] = start({path("link/a"), path("real/linked")});
  ASSERT_EQ(seen.next(), (report{path("link/a"), "a1"}));
  ASSERT_EQ(seen.next(), (report{path("real/linked"), "t1"}));

  ASSERT_TRUE(run({"write", path("real/a"), "a2"}));
  EXPECT_EQ(seen.next(), (report{path("link/a"), "a2"}));
  ASSERT_TRUE(run({"replace", path("real/target"), "t2"}));
  EXPECT_EQ(seen.next(), (report{path("real/linked"), "t2"}));
}

TEST_F(zunto_osx_file_monitor, reports_a_change_behind_a_link_to_another_folder) {
  // A dotfiles setup: the watched name is a link into a folder of its own.
  std::filesystem::create_directory(path("home"));
  std::filesystem::create_directory(path("dotfiles"));
  std::filesystem::create_directory(path("elsewhere"));
  write_here("dotfiles/a", "1");
  write_here("elsewhere/a", "other");
  std::filesystem::create_symlink(path("dotfiles/a"), path("home/a"));
  auto [monitor, seen] = start({path("home/a")});
  ASSERT_EQ(seen.next(), (report{path("home/a"), "1"}));

  const struct {
    const char* name;
    std::vector<std::string> change;
    const char* body;
  } steps[] = {
      {"the target replaced by a rename", {"replace", path("dotfiles/a"), "2"}, "2"},
      {"the target written in place", {"write", path("dotfiles/a"), "3"}, "3"},
      {"the link replaced by one to another folder",
       {"symlink", path("elsewhere/a"), path("home/a.new"), "rename", path("home/a.new"), path("home/a")},
       "other"},
      {"the new target written in place", {"write", path("elsewhere/a"), "4"}, "4"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(run(step.change));
    EXPECT_EQ(seen.next(), (report{path("home/a"), step.body}));
  }
}

TEST_F(zunto_osx_file_monitor, reports_a_deleted_file_with_a_null_body) {
  struct case_t {
    std::string name;
    std::string watched; // as given to the monitor
    std::string real;    // where the helper writes
    bool changed_before; // seen in an event before the deletion
  };
  std::filesystem::create_directory(path("real"));
  std::filesystem::create_directory_symlink(path("real"), path("link"));
  const std::vector<case_t> cases = {
      {"seen in an earlier event", path("real/a"), path("real/a"), true},
      {"only read at start", path("real/b"), path("real/b"), false},
      {"through a linked folder, only read at start", path("link/c"), path("real/c"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(c.real) << "1";
    auto [monitor, seen] = start({c.watched});
    ASSERT_EQ(seen.next(), (report{c.watched, "1"}));
    if (c.changed_before) {
      ASSERT_TRUE(run({"write", c.real, "2"}));
      ASSERT_EQ(seen.next(), (report{c.watched, "2"}));
    }
    ASSERT_TRUE(run({"remove", c.real}));
    EXPECT_EQ(seen.next(), (report{c.watched, std::nullopt}));
  }
}

TEST_F(zunto_osx_file_monitor, follows_a_folder_made_and_removed_after_start) {
  const auto watched = path("sub/a");
  auto [monitor, seen] = start({watched});
  ASSERT_EQ(seen.next(), (report{watched, std::nullopt}));

  ASSERT_TRUE(run({"mkdir", path("sub"), "write", watched, "made"}));
  EXPECT_EQ(seen.next(), (report{watched, "made"}));
  ASSERT_TRUE(run({"write", watched, "changed"}));
  EXPECT_EQ(seen.next(), (report{watched, "changed"}));
  ASSERT_TRUE(run({"remove", watched, "rmdir", path("sub")}));
  EXPECT_EQ(seen.next(), (report{watched, std::nullopt}));
  ASSERT_TRUE(run({"mkdir", path("sub"), "replace", watched, "again"}));
  EXPECT_EQ(seen.next(), (report{watched, "again"}));
}

TEST_F(zunto_osx_file_monitor, emits_nothing_once_destroyed_with_changes_in_flight) {
  write_here("a", "0");
  std::atomic<bool> destroyed = false;
  std::atomic<int> late = 0;
  auto monitor = make_monitor({path("a")});
  auto started = zunto::make_thread_wait();
  monitor->file_changed.connect([&](const std::string&, std::shared_ptr<std::vector<std::uint8_t>> body) {
    if (destroyed) {
      ++late;
    }
    if (body && std::string(body->begin(), body->end()).starts_with("burst")) {
      started->notify();
    }
  });
  monitor->async_start();

  // A second monitor on the same file tells when the helper's last change has come through.
  auto [fence_monitor, fence] = start({path("a")});
  ASSERT_EQ(fence.next(), (report{path("a"), "0"}));

  hbd_test::file_writer_process burst({"burst", path("a"), "300"});
  started->wait_notice();
  monitor.reset();
  destroyed = true;
  ASSERT_TRUE(burst.wait());
  ASSERT_TRUE(run({"write", path("a"), "end"}));
  for (;;) {
    const auto next = fence.next();
    ASSERT_NE(next.path, "(none)");
    if (next.body == std::optional<std::string>("end")) {
      break;
    }
  }
  flush_dispatcher();
  EXPECT_EQ(late, 0);
}

TEST_F(zunto_osx_file_monitor, may_be_destroyed_from_its_own_slot) {
  write_here("a", "0");
  auto monitor = make_monitor({path("a")});
  auto destroyed = zunto::make_thread_wait();
  int calls = 0;
  monitor->file_changed.connect([&](const std::string&, std::shared_ptr<std::vector<std::uint8_t>>) {
    ++calls;
    monitor.reset();
    destroyed->notify();
  });
  monitor->async_start();
  destroyed->wait_notice();

  auto [fence_monitor, fence] = start({path("a")});
  ASSERT_EQ(fence.next(), (report{path("a"), "0"}));
  ASSERT_TRUE(run({"write", path("a"), "1"}));
  ASSERT_EQ(fence.next(), (report{path("a"), "1"}));
  flush_dispatcher();
  EXPECT_EQ(calls, 1);
}

TEST_F(zunto_osx_file_monitor, a_failing_slot_does_not_stop_the_monitor) {
  hbd_test::log_capture log;
  write_here("a", "0");
  auto monitor = make_monitor({path("a")});
  reports seen(*monitor, dispatcher_);
  monitor->file_changed.connect(
      [](const std::string&, std::shared_ptr<std::vector<std::uint8_t>>) { throw std::runtime_error("slot broke"); });
  monitor->async_start();
  ASSERT_EQ(seen.next(), (report{path("a"), "0"}));
  EXPECT_TRUE(log.wait_for_text("zunto::osx::file_monitor file_changed failed: slot broke"));

  ASSERT_TRUE(run({"write", path("a"), "1"}));
  EXPECT_EQ(seen.next(), (report{path("a"), "1"}));
  monitor.reset();
}

TEST_F(zunto_osx_file_monitor, reports_a_stream_that_cannot_be_made_or_started) {
  struct case_t {
    std::vector<std::string> files;
    std::vector<report> reports;
    std::string error;
    // Logged even when nobody listens for the error; empty for none.
    std::string warning;
  };
  const std::string too_long = path(std::string(5000, 'x') + "/a");
  // A folder the kernel refuses to watch, as it refuses every watch once the user's inotify
  // instances are all taken.
  std::filesystem::create_directory_symlink(path("loop"), path("loop"));
  const std::vector<case_t> cases = {
      {{}, {}, "FSEventStreamCreate is failed.", ""},
      {{too_long},
       {{too_long, std::nullopt}},
       "FSEventStreamStart is failed.",
       "zunto::osx::file_monitor cannot watch " + too_long + ": File name too long"},
      {{path("a"), path("loop/a")},
       {{path("a"), std::nullopt}, {path("loop/a"), std::nullopt}},
       "FSEventStreamStart is failed.",
       "zunto::osx::file_monitor cannot watch " + path("a") + ", " + path("loop/a") +
           ": Too many levels of symbolic links"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files.empty() ? "no files" : c.files.back());
    hbd_test::log_capture log;
    auto monitor = make_monitor(c.files);
    reports seen(*monitor, dispatcher_);
    auto errors = std::make_shared<std::vector<std::string>>();
    auto failed = zunto::make_thread_wait();
    monitor->error_occurred.connect([errors, failed](const std::string& message) {
      errors->push_back(message);
      failed->notify();
    });
    monitor->async_start();
    failed->wait_notice();
    // Reports are queued before the error.
    EXPECT_EQ(seen.all(), c.reports);
    EXPECT_EQ(*errors, std::vector<std::string>{c.error});
    monitor.reset();
    std::vector<hbd_test::log_capture::entry> warnings;
    if (!c.warning.empty()) {
      warnings.push_back({spdlog::level::warn, c.warning});
    }
    EXPECT_EQ(log.entries(), warnings);
  }
}

TEST(zunto_osx_file_monitor_read_file, reads_the_whole_file_or_gives_null) {
  hbd_test::temporary_directory directory;
  const auto file = [&](const std::string& name) { return (directory.path() / name).string(); };
  std::ofstream(file("empty"));
  // Longer than any first guess, with a NUL inside.
  std::string bytes(100'000, 'x');
  bytes[10] = '\0';
  std::ofstream(file("text")) << bytes;
  std::filesystem::create_directory(file("folder"));

  hbd_test::make_hostile_file(file("fifo"), hbd_test::hostile_file::fifo);
  hbd_test::make_hostile_file(file("zero"), hbd_test::hostile_file::endless_device);
  hbd_test::make_hostile_file(file("huge"), hbd_test::hostile_file::sparse, file_monitor::maximum_file_size + 1);
  hbd_test::make_hostile_file(file("largest"), hbd_test::hostile_file::sparse, file_monitor::maximum_file_size);

  {
    hbd_test::watchdog watchdog("reading what cannot be read");
    for (const auto* name : {"missing", "folder", "fifo", "zero", "huge"}) {
      EXPECT_EQ(file_monitor::read_file(file(name)), nullptr) << name;
    }
    auto largest = file_monitor::read_file(file("largest"));
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(largest->size(), file_monitor::maximum_file_size);
  }
  auto empty = file_monitor::read_file(file("empty"));
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(empty->empty());
  auto text = file_monitor::read_file(file("text"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text->begin(), text->end()), bytes);

  // Its size says 0, yet it has content: reading goes on to the end, whatever the size said.
  auto status = file_monitor::read_file("/proc/self/status");
  ASSERT_NE(status, nullptr);
  EXPECT_NE(std::string(status->begin(), status->end()).find("Name:"), std::string::npos);
}

} // namespace

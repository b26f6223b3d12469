#include "platform/fsevents/stream.hpp"

#include "platform/fsevents/own_writes.hpp"
#include "support/file_writer_process.hpp"
#include "support/process_counts.hpp"
#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fsevents = platform::fsevents;
using platform::dispatch::serial_queue;

constexpr auto report_timeout = std::chrono::seconds(5);
constexpr fsevents::create_flags monitor_flags =
    fsevents::create_flag_watch_root | fsevents::create_flag_file_events | fsevents::create_flag_mark_self;

struct recorded_event {
  std::string path;
  fsevents::event_flags flags;
};

// Keeps every batch a stream delivers; its address is the stream's info.
class recorder final {
public:
  explicit recorder(std::shared_ptr<serial_queue> queue) : queue_(std::move(queue)) {}

  static void callback(fsevents::stream_ref /*stream*/, void* info, std::size_t count, const char* const* paths,
                       const fsevents::event_flags* flags, const fsevents::event_id* ids) {
    auto* self = static_cast<recorder*>(info);
    std::vector<recorded_event> batch;
    for (std::size_t i = 0; i < count; ++i) {
      batch.push_back({paths[i], flags[i]});
    }
    std::lock_guard lock(self->mutex_);
    for (std::size_t i = 0; i < count; ++i) {
      if (ids[i] <= self->last_id_) {
        self->faults_.push_back("event ids do not grow");
      }
      self->last_id_ = ids[i];
    }
    if (!self->queue_->current()) {
      self->faults_.push_back("delivered off the queue");
    }
    if (self->closed_) {
      self->faults_.push_back("delivered after the stream was stopped");
    }
    self->batches_.push_back(std::move(batch));
    self->cv_.notify_all();
  }

  // The flags of the first event for `path` that has all of `required`, waiting for it.
  std::optional<fsevents::event_flags> wait_for(const std::string& path, fsevents::event_flags required = 0) {
    std::unique_lock lock(mutex_);
    std::optional<fsevents::event_flags> found;
    cv_.wait_for(lock, report_timeout, [&] {
      for (const auto& batch : batches_) {
        for (const auto& event : batch) {
          if (event.path == path && (event.flags & required) == required) {
            found = event.flags;
            return true;
          }
        }
      }
      return false;
    });
    return found;
  }

  std::vector<std::vector<recorded_event>> batches() const {
    std::lock_guard lock(mutex_);
    return batches_;
  }

  // Any later delivery counts as a fault.
  void close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }

  std::vector<std::string> faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
  }

private:
  std::shared_ptr<serial_queue> queue_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<std::vector<recorded_event>> batches_;
  std::vector<std::string> faults_;
  fsevents::event_id last_id_ = 0;
  bool closed_ = false;
};

class platform_fsevents_stream : public testing::Test {
protected:
  ~platform_fsevents_stream() override {
    for (auto* stream : streams_) {
      fsevents::stream_stop(stream);
      fsevents::stream_invalidate(stream);
      fsevents::stream_release(stream);
    }
    for (auto& r : recorders_) {
      EXPECT_EQ(r->faults(), std::vector<std::string>{});
    }
  }

  // A started stream on `paths` whose events go to the returned recorder.
  std::pair<fsevents::stream_ref, recorder*> start(const std::vector<std::string>& paths, double latency = 0.05,
                                                   fsevents::create_flags flags = monitor_flags) {
    recorders_.push_back(std::make_unique<recorder>(queue_));
    auto* r = recorders_.back().get();
    fsevents::stream_context context;
    context.info = r;
    auto* stream =
        fsevents::stream_create(recorder::callback, &context, paths, fsevents::event_id_since_now, latency, flags);
    EXPECT_NE(stream, nullptr);
    streams_.push_back(stream);
    fsevents::stream_set_dispatch_queue(stream, queue_);
    EXPECT_TRUE(fsevents::stream_start(stream));
    return {stream, r};
  }

  std::string path(const std::string& name) const { return (directory_.path() / name).string(); }
  // What the stream reports for a file: its folder resolved.
  std::string resolved(const std::string& name) const {
    return (std::filesystem::canonical(directory_.path()) / name).string();
  }

  hbd_test::temporary_directory directory_;
  std::shared_ptr<serial_queue> queue_ = std::make_shared<serial_queue>("test.fsevents");

private:
  std::vector<std::unique_ptr<recorder>> recorders_;
  std::vector<fsevents::stream_ref> streams_;
};

TEST_F(platform_fsevents_stream, reports_another_process_s_changes_under_the_resolved_folder) {
  std::filesystem::create_directory(path("real"));
  std::filesystem::create_directory_symlink(path("real"), path("link"));
  auto [stream, events] = start({path("link")});

  ASSERT_TRUE(hbd_test::file_writer_process::run({"write", path("real/a"), "text"}));
  auto flags = events->wait_for(resolved("real/a"), fsevents::event_flag_item_modified);
  ASSERT_TRUE(flags.has_value());
  EXPECT_NE(*flags & fsevents::event_flag_item_is_file, 0u);
  EXPECT_EQ(*flags & fsevents::event_flag_own_event, 0u);

  ASSERT_TRUE(hbd_test::file_writer_process::run({"replace", path("real/b"), "text", "remove", path("real/a")}));
  EXPECT_TRUE(events->wait_for(resolved("real/b"), fsevents::event_flag_item_renamed));
  EXPECT_TRUE(events->wait_for(resolved("real/a"), fsevents::event_flag_item_removed));
}

TEST_F(platform_fsevents_stream, gathers_the_changes_within_the_latency_into_one_event_a_path) {
  auto [stream, events] = start({directory_.path().string()}, 1.0);
  ASSERT_TRUE(
      hbd_test::file_writer_process::run({"write", path("a"), "1", "write", path("b"), "1", "write", path("a"), "2"}));
  ASSERT_TRUE(events->wait_for(resolved("b")));

  const auto batches = events->batches();
  ASSERT_EQ(batches.size(), 1u);
  ASSERT_EQ(batches[0].size(), 2u);
  EXPECT_EQ(batches[0][0].path, resolved("a"));
  EXPECT_EQ(batches[0][1].path, resolved("b"));
  EXPECT_NE(batches[0][0].flags & fsevents::event_flag_item_created, 0u);
  EXPECT_NE(batches[0][0].flags & fsevents::event_flag_item_modified, 0u);
}

TEST_F(platform_fsevents_stream, without_file_events_reports_the_folder) {
  auto [stream, events] = start({directory_.path().string()}, 0.05, fsevents::create_flag_none);
  ASSERT_TRUE(hbd_test::file_writer_process::run({"write", path("a"), "1"}));
  auto flags = events->wait_for(std::filesystem::canonical(directory_.path()).string());
  ASSERT_TRUE(flags.has_value());
  EXPECT_NE(*flags & fsevents::event_flag_must_scan_subdirs, 0u);
}

TEST_F(platform_fsevents_stream, without_file_events_a_folder_that_appears_is_to_be_rescanned) {
  auto [stream, events] = start({path("later")}, 0.05, fsevents::create_flag_none);
  // The file is there before the folder can be watched: only a rescan finds it.
  ASSERT_TRUE(hbd_test::file_writer_process::run({"mkdir", path("later"), "write", path("later/a"), "1"}));
  auto flags = events->wait_for(resolved("later"), fsevents::event_flag_must_scan_subdirs);
  ASSERT_TRUE(flags.has_value());
  EXPECT_EQ(*flags & fsevents::event_flag_root_changed, 0u);
}

TEST_F(platform_fsevents_stream, marks_this_process_s_writes_only_when_asked) {
  struct case_t {
    fsevents::create_flags flags;
    bool own;
  };
  for (const auto& c : {case_t{monitor_flags, true}, case_t{fsevents::create_flag_file_events, false}}) {
    SCOPED_TRACE(c.own);
    const std::string name = c.own ? "own" : "unmarked";
    auto [stream, events] = start({directory_.path().string()}, 0.05, c.flags);

    // Noted before the rename, which keeps the file's identity.
    std::ofstream(path(name + ".tmp")) << "mine";
    fsevents::note_own_write(path(name + ".tmp"));
    std::filesystem::rename(path(name + ".tmp"), path(name));
    auto flags = events->wait_for(resolved(name), fsevents::event_flag_item_renamed);
    ASSERT_TRUE(flags.has_value());
    EXPECT_EQ((*flags & fsevents::event_flag_own_event) != 0, c.own);

    fsevents::stream_stop(stream);
  }

  // The same file changed by someone else is no longer this process's.
  auto [stream, events] = start({directory_.path().string()});
  ASSERT_TRUE(hbd_test::file_writer_process::run({"write", path("own"), "theirs"}));
  auto flags = events->wait_for(resolved("own"), fsevents::event_flag_item_modified);
  ASSERT_TRUE(flags.has_value());
  EXPECT_EQ(*flags & fsevents::event_flag_own_event, 0u);
}

TEST_F(platform_fsevents_stream, reports_a_changed_root_and_watches_it_anew) {
  struct case_t {
    std::string name;
    std::vector<std::string> setup; // helper commands before the stream starts; "@" is the folder
    std::string watched;
    std::vector<std::string> change; // helper commands that change the root
    std::vector<std::string> after;  // helper commands that bring a folder back at the watched path
    // The folder comes back already holding "file": only a look into it can report that.
    bool comes_back_with_file = false;
  };
  const std::string d = path("d");
  const std::vector<case_t> cases = {
      {"created", {}, d + "/watched", {"mkdir", d + "/watched"}, {}},
      {"created with its parent", {}, d + "/p/watched", {"mkdir", d + "/p", "mkdir", d + "/p/watched"}, {}},
      {"removed", {"mkdir", d + "/watched"}, d + "/watched", {"rmdir", d + "/watched"}, {"mkdir", d + "/watched"}},
      {"renamed",
       {"mkdir", d + "/watched"},
       d + "/watched",
       {"rename", d + "/watched", d + "/other"},
       {"rename", d + "/other", d + "/watched"}},
      {"parent renamed",
       {"mkdir", d + "/p", "mkdir", d + "/p/watched"},
       d + "/p/watched",
       {"rename", d + "/p", d + "/q"},
       {"rename", d + "/q", d + "/p"}},
      {"was a file",
       {"write", d + "/watched", "x"},
       d + "/watched",
       {"remove", d + "/watched", "mkdir", d + "/watched"},
       {}},
      {"created holding a file",
       {},
       d + "/watched",
       {"mkdir", d + "/watched", "write", d + "/watched/file", "x"},
       {},
       true},
      {"made again and written at once",
       {"mkdir", d + "/watched"},
       d + "/watched",
       {"rmdir", d + "/watched"},
       {"mkdir", d + "/watched", "write", d + "/watched/file", "x"},
       true},
      {"renamed back with a file written while away",
       {"mkdir", d + "/watched"},
       d + "/watched",
       {"rename", d + "/watched", d + "/other"},
       {"write", d + "/other/file", "x", "rename", d + "/other", d + "/watched"},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(d);
    std::filesystem::create_directory(d);
    if (!c.setup.empty()) {
      ASSERT_TRUE(hbd_test::file_writer_process::run(c.setup));
    }
    auto [stream, events] = start({c.watched});

    ASSERT_TRUE(hbd_test::file_writer_process::run(c.change));
    ASSERT_TRUE(events->wait_for(c.watched, fsevents::event_flag_root_changed));
    if (!c.after.empty()) {
      ASSERT_TRUE(hbd_test::file_writer_process::run(c.after));
    }
    // Watching goes on at the path, wherever the folder is now.
    if (!c.comes_back_with_file) {
      ASSERT_TRUE(hbd_test::file_writer_process::run({"write", c.watched + "/file", "x"}));
    }
    EXPECT_TRUE(events->wait_for(std::filesystem::canonical(c.watched).string() + "/file"));
    fsevents::stream_stop(stream);
  }
}

TEST_F(platform_fsevents_stream, nothing_is_delivered_once_stop_returned) {
  auto [stream, events] = start({directory_.path().string()}, 0.0);
  hbd_test::file_writer_process burst({"burst", path("a"), "300"});
  ASSERT_TRUE(events->wait_for(resolved("a")));
  fsevents::stream_stop(stream);
  events->close();
  ASSERT_TRUE(burst.wait());

  // A later change reaches a second stream on the same queue; blocks of the first queued before it
  // have run by then.
  auto [fence, fence_events] = start({directory_.path().string()}, 0.0);
  ASSERT_TRUE(hbd_test::file_writer_process::run({"write", path("b"), "fence"}));
  ASSERT_TRUE(fence_events->wait_for(resolved("b")));
  queue_->sync([] {});
  // The recorder's faults are checked when the fixture goes.
}

// Stopped streams' descriptors are closed in the background: more streams in a row than the kernel
// allows inotify instances at once (128 by default) all start, and every descriptor comes back.
TEST_F(platform_fsevents_stream, streams_stopped_in_a_row_all_start_and_give_their_descriptors_back) {
  fsevents::wait_for_stopped_streams();
  const auto descriptors = hbd_test::descriptor_count();
  recorder r(queue_);
  fsevents::stream_context context;
  context.info = &r;
  for (int i = 0; i < 300; ++i) {
    auto* stream = fsevents::stream_create(recorder::callback, &context, {directory_.path().string()},
                                           fsevents::event_id_since_now, 0.0, monitor_flags);
    fsevents::stream_set_dispatch_queue(stream, queue_);
    ASSERT_TRUE(fsevents::stream_start(stream)) << i;
    fsevents::stream_invalidate(stream);
    fsevents::stream_release(stream);
  }
  fsevents::wait_for_stopped_streams();
  EXPECT_EQ(hbd_test::descriptor_count(), descriptors);
}

TEST_F(platform_fsevents_stream, refuses_what_it_cannot_watch) {
  recorder r(queue_);
  fsevents::stream_context context;
  context.info = &r;
  EXPECT_EQ(fsevents::stream_create(nullptr, &context, {path("a")}, fsevents::event_id_since_now, 0.1, monitor_flags),
            nullptr);
  EXPECT_EQ(fsevents::stream_create(recorder::callback, &context, {}, fsevents::event_id_since_now, 0.1, monitor_flags),
            nullptr);

  auto* without_queue = fsevents::stream_create(recorder::callback, &context, {directory_.path().string()},
                                                fsevents::event_id_since_now, 0.1, monitor_flags);
  ASSERT_NE(without_queue, nullptr);
  EXPECT_FALSE(fsevents::stream_start(without_queue));
  fsevents::stream_release(without_queue);

  const std::string too_long = path(std::string(5000, 'x'));
  auto* unwatchable = fsevents::stream_create(recorder::callback, &context, {too_long}, fsevents::event_id_since_now,
                                              0.1, monitor_flags);
  fsevents::stream_set_dispatch_queue(unwatchable, queue_);
  EXPECT_FALSE(fsevents::stream_start(unwatchable));
  EXPECT_EQ(fsevents::copy_started_streams_paths(), std::vector<std::vector<std::string>>{});
  fsevents::stream_release(unwatchable);
}

TEST_F(platform_fsevents_stream, lists_the_started_streams) {
  auto [stream, events] = start({path("a"), path("b")});
  EXPECT_EQ(fsevents::stream_copy_paths_being_watched(stream), (std::vector<std::string>{path("a"), path("b")}));
  EXPECT_EQ(fsevents::copy_started_streams_paths(), (std::vector<std::vector<std::string>>{{path("a"), path("b")}}));
  fsevents::stream_stop(stream);
  EXPECT_EQ(fsevents::copy_started_streams_paths(), std::vector<std::vector<std::string>>{});
}

} // namespace

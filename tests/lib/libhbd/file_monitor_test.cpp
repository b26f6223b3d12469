#include "libhbd.h"
#include "support/c_callback_recorder.hpp"
#include "support/dispatcher_thread.hpp"
#include "support/file_writer_process.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/thread_text.hpp"
#include "support/watchdog.hpp"

#include "hbd/json_writer.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using hbd_test::c_callback_recorder;

std::filesystem::path tmp_directory() {
  return std::filesystem::path(std::getenv("HBD_SYSTEM_ROOT")) / "Library/Application Support/org.zunto/tmp";
}

std::string state_file(const char* name) { return (tmp_directory() / name).string(); }

bool run(const std::vector<std::string>& arguments) { return hbd_test::file_writer_process::run(arguments); }

struct state_file_monitor {
  const char* file;
  std::function<void(libhbd_file_monitor_callback, void*)> enable;
  std::function<void()> disable;
};

const state_file_monitor state_file_monitors[] = {
    {"hobbard_observer_state.json", libhbd_enable_observer_state_json_file_monitor,
     libhbd_disable_observer_state_json_file_monitor},
    {"hobbard_grabber_state.json", libhbd_enable_grabber_state_json_file_monitor,
     libhbd_disable_grabber_state_json_file_monitor},
    {"hobbard_grabber_device_details.json", libhbd_enable_device_details_json_file_monitor,
     libhbd_disable_device_details_json_file_monitor},
    {"hobbard_grabber_manipulator_environment.json", libhbd_enable_manipulator_environment_json_file_monitor,
     libhbd_disable_manipulator_environment_json_file_monitor},
    {"hobbard_notification_message.json", libhbd_enable_notification_message_json_file_monitor,
     libhbd_disable_notification_message_json_file_monitor},
};

// The library runs for each test, with its log captured; the state files go with the test.
class libhbd_file_monitor_test : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(tmp_directory());
    libhbd_initialize();
    log_.clear();
  }

  void TearDown() override {
    libhbd_terminate();
    std::filesystem::remove_all(tmp_directory());
  }

  // Recorders outlive the test body: the members calling them stop only in TearDown.
  c_callback_recorder& make_recorder() { return recorders_.emplace_back(); }

  hbd_test::log_capture log_;

private:
  std::deque<c_callback_recorder> recorders_;
};

} // namespace

TEST(libhbd_file_monitor_uninitialized, enable_and_disable_do_nothing_before_initialize) {
  hbd_test::log_capture log;
  c_callback_recorder calls;
  for (const auto& monitor : state_file_monitors) {
    monitor.enable(c_callback_recorder::path_callback, calls.context());
    monitor.disable();
  }
  for (const auto& monitor : state_file_monitors) {
    monitor.enable(c_callback_recorder::path_callback, calls.context());
  }
  EXPECT_TRUE(log.texts().empty());

  // No component manager was made either: initialising makes one with empty slots, and terminate
  // has no member to destroy.
  libhbd_initialize();
  libhbd_terminate();
  EXPECT_EQ(log.texts(), (std::vector<std::string>{"libhbd_initialize", "libhbd_terminate"}));
  EXPECT_EQ(calls.size(), 0u);
}

TEST_F(libhbd_file_monitor_test, each_monitor_reports_its_missing_file_once_at_start_on_another_thread) {
  for (const auto& monitor : state_file_monitors) {
    SCOPED_TRACE(monitor.file);
    auto& calls = make_recorder();
    monitor.enable(c_callback_recorder::path_callback, calls.context());
    ASSERT_TRUE(calls.wait_for(1));
    monitor.disable();
    const auto recorded = calls.calls();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].path, state_file(monitor.file));
    EXPECT_NE(recorded[0].thread, std::this_thread::get_id());
    EXPECT_EQ(recorded[0].thread, hbd_test::shared_dispatcher_thread_id());
  }
  std::vector<std::string> expected;
  for (const auto& monitor : state_file_monitors) {
    expected.push_back("libhbd_file_monitor " + state_file(monitor.file));
    expected.push_back("~libhbd_file_monitor");
  }
  EXPECT_EQ(log_.texts(), expected);
}

TEST_F(libhbd_file_monitor_test, reports_each_change_by_another_process_once_and_not_the_library_s_own_write) {
  const auto path = state_file("hobbard_observer_state.json");
  auto& calls = make_recorder();
  libhbd_enable_observer_state_json_file_monitor(c_callback_recorder::path_callback, calls.context());
  ASSERT_TRUE(calls.wait_for(1));

  // Each step waits for its own report; a report too many shows up as a count that runs ahead.
  std::size_t expected = 1;
  const auto changed_by = [&](const std::vector<std::string>& arguments) {
    ASSERT_TRUE(run(arguments));
    ++expected;
    ASSERT_TRUE(calls.wait_for(expected));
    EXPECT_EQ(calls.size(), expected);
  };

  changed_by({"write", path, R"({"driver_loaded": true})"});
  // The same bytes again report nothing: the next report is the next real change. That one is put
  // in place whole, as the monitor may still be reading for the step before: a file rewritten in
  // place is empty for a moment, which would be a change of its own.
  ASSERT_TRUE(run({"write", path, R"({"driver_loaded": true})"}));
  changed_by({"replace", path, R"({"driver_loaded": false})"});

  // The library's own save is not reported: the next report is the next change by another process.
  // (Whether the same bytes from another process count after it depends on the save having been
  // seen first, which the file monitor's own tests pin down.)
  const auto own = nlohmann::json{{"driver_loaded", true}, {"hid_device_open_permitted", true}};
  hbd::json_writer::sync_save_to_file(own, path, 0755, 0644);
  changed_by({"write", path, R"({"hid_device_open_permitted": false})"});

  // Put in place by a rename, deleted, and made again.
  changed_by({"replace", path, R"({"driver_version_matched": true})"});
  changed_by({"remove", path});
  changed_by({"write", path, "{}"});

  for (const auto& call : calls.calls()) {
    EXPECT_EQ(call.path, path);
  }
}

TEST_F(libhbd_file_monitor_test, a_second_enable_replaces_the_first_after_building_the_new_one) {
  const auto path = state_file("hobbard_grabber_state.json");
  auto& first = make_recorder();
  auto& second = make_recorder();
  libhbd_enable_grabber_state_json_file_monitor(c_callback_recorder::path_callback, first.context());
  ASSERT_TRUE(first.wait_for(1));
  libhbd_enable_grabber_state_json_file_monitor(c_callback_recorder::path_callback, second.context());
  ASSERT_TRUE(second.wait_for(1));
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_file_monitor " + path, "libhbd_file_monitor " + path,
                                                    "~libhbd_file_monitor"}));

  ASSERT_TRUE(run({"write", path, "{}"}));
  ASSERT_TRUE(second.wait_for(2));
  EXPECT_EQ(first.size(), 1u);

  libhbd_disable_grabber_state_json_file_monitor();
  // The slot is empty now: a second disable finds nothing to destroy.
  libhbd_disable_grabber_state_json_file_monitor();
  // A never-enabled monitor is no different.
  libhbd_disable_notification_message_json_file_monitor();
  EXPECT_EQ(log_.texts().size(), 4u);
  // Logged before the monitor is released: a report handled at that moment may still log after it.
  EXPECT_THAT(log_.texts(), testing::Contains("~libhbd_file_monitor"));
}

TEST_F(libhbd_file_monitor_test, initialize_again_keeps_the_running_members) {
  auto& calls = make_recorder();
  libhbd_enable_device_details_json_file_monitor(c_callback_recorder::path_callback, calls.context());
  ASSERT_TRUE(calls.wait_for(1));
  libhbd_initialize();
  ASSERT_TRUE(run({"write", state_file("hobbard_grabber_device_details.json"), "{}"}));
  EXPECT_TRUE(calls.wait_for(2));
  EXPECT_EQ(log_.texts(),
            (std::vector<std::string>{"libhbd_file_monitor " + state_file("hobbard_grabber_device_details.json"),
                                      "libhbd_initialize"}));
}

TEST_F(libhbd_file_monitor_test, a_null_callback_is_allowed) {
  const auto path = state_file("hobbard_observer_state.json");
  libhbd_enable_observer_state_json_file_monitor(nullptr, nullptr);
  ASSERT_TRUE(run({"write", path, "{}"}));
  libhbd_disable_observer_state_json_file_monitor();
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_file_monitor " + path, "~libhbd_file_monitor"}));
}

TEST_F(libhbd_file_monitor_test, a_callback_may_disable_its_own_monitor_but_not_terminate_the_library) {
  auto& calls = make_recorder();
  libhbd_enable_observer_state_json_file_monitor(c_callback_recorder::path_callback, calls.context());
  // The first report may come before the enable call has put the member into its slot, so the
  // callback acts on the next one.
  ASSERT_TRUE(calls.wait_for(1));
  calls.set_action([] {
    libhbd_terminate();
    libhbd_disable_observer_state_json_file_monitor();
  });
  ASSERT_TRUE(run({"write", state_file("hobbard_observer_state.json"), "{}"}));
  ASSERT_TRUE(calls.wait_for(2));
  ASSERT_TRUE(log_.wait_for_text("~libhbd_file_monitor"));
  const auto texts = log_.texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1], "libhbd_terminate is refused on the dispatcher thread");

  // The library still runs.
  auto& after = make_recorder();
  libhbd_enable_grabber_state_json_file_monitor(c_callback_recorder::path_callback, after.context());
  EXPECT_TRUE(after.wait_for(1));
}

TEST_F(libhbd_file_monitor_test, enable_and_disable_from_several_threads_leave_every_member_destroyed) {
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      while (!go) {
        std::this_thread::yield();
      }
      for (int i = 0; i < 20; ++i) {
        if ((i + t) % 2 == 0) {
          libhbd_enable_observer_state_json_file_monitor(nullptr, nullptr);
        } else {
          libhbd_disable_observer_state_json_file_monitor();
        }
      }
    });
  }
  go = true;
  for (auto& thread : threads) {
    thread.join();
  }
  libhbd_terminate();

  std::size_t built = 0;
  std::size_t destroyed = 0;
  for (const auto& text : log_.texts()) {
    built += text.starts_with("libhbd_file_monitor ") ? 1u : 0u;
    destroyed += text == "~libhbd_file_monitor" ? 1u : 0u;
  }
  EXPECT_EQ(built, 40u);
  EXPECT_EQ(destroyed, built);
}

TEST_F(libhbd_file_monitor_test, terminate_waits_for_an_enable_running_on_another_thread) {
  std::atomic<bool> started{false};
  std::thread enabler([&] {
    started = true;
    for (int i = 0; i < 50; ++i) {
      libhbd_enable_notification_message_json_file_monitor(nullptr, nullptr);
    }
  });
  while (!started) {
    std::this_thread::yield();
  }
  libhbd_terminate();
  enabler.join();

  // Every member built before terminate took the manager away was destroyed by it; later enables
  // found no manager and built nothing.
  std::size_t built = 0;
  std::size_t destroyed = 0;
  for (const auto& text : log_.texts()) {
    built += text.starts_with("libhbd_file_monitor ") ? 1u : 0u;
    destroyed += text == "~libhbd_file_monitor" ? 1u : 0u;
  }
  EXPECT_EQ(destroyed, built);
  const auto texts = log_.texts();
  EXPECT_EQ(texts.back(), built == 0 ? "libhbd_terminate" : "~libhbd_file_monitor");
}

TEST_F(libhbd_file_monitor_test, notification_message_body) {
  const auto path = state_file("hobbard_notification_message.json");
  const struct {
    const char* name;
    const char* content; // null: no file, or the hostile one
    const char* body;
    std::optional<hbd_test::hostile_file> hostile = std::nullopt;
  } cases[] = {
      {"a body", R"({"body": "Driver is not loaded"})", "Driver is not loaded"},
      {"no file keeps the previous body", nullptr, "Driver is not loaded"},
      {"comments are allowed", "// from the grabber\n{\"body\": /* short */ \"hi\"}", "hi"},
      {"a body that is not a string", R"({"body": 1})", ""},
      {"a body again", R"({"body": "again"})", "again"},
      {"a FIFO is unreadable", nullptr, "again", hbd_test::hostile_file::fifo},
      {"a device is unreadable", nullptr, "again", hbd_test::hostile_file::endless_device},
      {"a huge file is unreadable", nullptr, "again", hbd_test::hostile_file::sparse},
      {"no body", R"({"title": "x"})", ""},
      {"not an object", R"(["body"])", ""},
      {"not JSON", "{body", ""},
      {"an empty file", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    if (c.content != nullptr) {
      hbd_test::write_file(path, c.content);
    }
    if (c.hostile) {
      hbd_test::make_hostile_file(path, *c.hostile, std::uintmax_t{1} << 36);
    }
    hbd_test::watchdog watchdog(c.name);
    EXPECT_STREQ(libhbd_get_notification_message_body(), c.body);
  }
}

TEST_F(libhbd_file_monitor_test, notification_message_body_is_not_rewritten_by_other_threads) {
  const auto path = state_file("hobbard_notification_message.json");
  hbd_test::write_file(path, R"({"body": "first"})");
  const auto seen_later = hbd_test::text_read_before_change(libhbd_get_notification_message_body, [&] {
    hbd_test::write_file(path, R"({"body": "second, longer than the first one"})");
    std::vector<std::thread> others;
    for (int i = 0; i < 4; ++i) {
      others.emplace_back([] {
        for (int j = 0; j < 50; ++j) {
          EXPECT_STREQ(libhbd_get_notification_message_body(), "second, longer than the first one");
        }
      });
    }
    for (auto& other : others) {
      other.join();
    }
  });
  EXPECT_EQ(seen_later, "first");
}

#include "libhbd.h"
#include "support/c_callback_recorder.hpp"
#include "support/file_writer_process.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using hbd_test::c_callback_recorder;

std::filesystem::path version_directory() {
  return std::filesystem::path(std::getenv("HBD_SYSTEM_ROOT")) / "Library/Application Support/org.zunto/Hobbard-Suite";
}

std::string version_file() { return (version_directory() / "version").string(); }

bool run(const std::vector<std::string>& arguments) { return hbd_test::file_writer_process::run(arguments); }

class libhbd_version_monitor_test : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(version_directory());
    libhbd_initialize();
  }

  void TearDown() override {
    libhbd_terminate();
    std::filesystem::remove_all(version_directory());
  }

  std::vector<std::string> version_lines() const {
    std::vector<std::string> lines;
    for (const auto& text : log_.texts()) {
      if (text.starts_with("Version is changed to ")) {
        lines.push_back(text);
      }
    }
    return lines;
  }

  hbd_test::log_capture log_;
  // Outlive the members calling them, which stop in TearDown at the latest.
  std::deque<c_callback_recorder> recorders_;
};

} // namespace

TEST(libhbd_version_monitor_uninitialized, enable_and_disable_do_nothing_before_initialize) {
  hbd_test::log_capture log;
  c_callback_recorder calls;
  libhbd_enable_version_monitor(c_callback_recorder::context_callback, calls.context());
  libhbd_disable_version_monitor();
  EXPECT_TRUE(log.texts().empty());
  EXPECT_EQ(calls.size(), 0u);
}

// Each step is one change by another process and says whether it calls back. A step that must not
// is fenced by the next one that must; the test waits after each call, so that no two changes that
// call back are read as one. Contents are put in place whole (written aside, then renamed): the
// monitor's start and a step that calls back may read while the next step writes, and a file
// rewritten in place is empty for a moment, which would be a version of its own.
TEST_F(libhbd_version_monitor_test, only_changed_bytes_call_back) {
  struct step {
    std::vector<std::string> command;
    const char* version; // null: no call
  };
  const struct {
    const char* initial; // null: no file when the monitor starts
    std::vector<step> steps;
  } cases[] = {
      // The content at start is no change; the same bytes again are none either, while a trailing
      // newline is one although the text stays.
      {"1.0.0\n",
       {{{"replace", version_file(), "1.0.0\n"}, nullptr},
        {{"replace", version_file(), "1.0.1"}, "1.0.1"},
        {{"replace", version_file(), "1.0.1"}, nullptr},
        {{"replace", version_file(), "1.0.1\n"}, "1.0.1"}}},
      // Removal is no change, and neither is writing back the same content; other content is.
      {"  2.0.0 \n",
       {{{"remove", version_file()}, nullptr},
        {{"replace", version_file(), "  2.0.0 \n"}, nullptr},
        {{"replace", version_file(), "2.0.1"}, "2.0.1"}}},
      // A file that appears is announced once.
      {nullptr, {{{"replace", version_file(), "\t3.0.0\n"}, "3.0.0"}, {{"replace", version_file(), "3.0.1"}, "3.0.1"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.initial != nullptr ? c.initial : "no file");
    std::filesystem::remove(version_file());
    if (c.initial != nullptr) {
      hbd_test::write_file(version_file(), c.initial);
    }
    auto& calls = recorders_.emplace_back();
    log_.clear();
    libhbd_enable_version_monitor(c_callback_recorder::context_callback, calls.context());
    std::vector<std::string> expected;
    for (const auto& step : c.steps) {
      ASSERT_TRUE(run(step.command));
      if (step.version != nullptr) {
        expected.push_back(std::string("Version is changed to ") + step.version);
        ASSERT_TRUE(calls.wait_for(expected.size()));
      }
    }
    // The last step always calls back, so nothing earlier can still be on its way.
    libhbd_disable_version_monitor();
    EXPECT_EQ(calls.size(), expected.size());
    for (const auto& call : calls.calls()) {
      EXPECT_NE(call.thread, std::this_thread::get_id());
    }
    EXPECT_EQ(version_lines(), expected);
    const auto texts = log_.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "libhbd_version_monitor");
    EXPECT_EQ(texts.back(), "~libhbd_version_monitor");
  }
}

TEST_F(libhbd_version_monitor_test, a_second_enable_replaces_the_first_and_a_null_callback_is_allowed) {
  hbd_test::write_file(version_file(), "1");
  log_.clear();
  libhbd_enable_version_monitor(nullptr, nullptr);
  auto& calls = recorders_.emplace_back();
  libhbd_enable_version_monitor(c_callback_recorder::context_callback, calls.context());
  EXPECT_EQ(log_.texts(),
            (std::vector<std::string>{"libhbd_version_monitor", "libhbd_version_monitor", "~libhbd_version_monitor"}));
  ASSERT_TRUE(run({"replace", version_file(), "2"}));
  ASSERT_TRUE(calls.wait_for(1));
  EXPECT_EQ(version_lines(), std::vector<std::string>{"Version is changed to 2"});
}

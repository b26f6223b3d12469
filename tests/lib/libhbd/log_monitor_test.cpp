#include "libhbd.h"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/watchdog.hpp"

#include "hbd/constants.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Every list of lines the callback was handed, copied during the call.
class log_reports final {
public:
  static void callback(void* log_lines, void* context) {
    auto* self = static_cast<log_reports*>(context);
    std::vector<std::string> lines;
    for (size_t i = 0; i < libhbd_log_lines_get_size(log_lines); ++i) {
      lines.emplace_back(libhbd_log_lines_get_line(log_lines, i));
    }
    EXPECT_EQ(libhbd_log_lines_get_line(log_lines, lines.size()), nullptr);
    std::lock_guard lock(self->mutex_);
    self->reports_.push_back(std::move(lines));
    self->changed_.notify_all();
  }

  bool wait_for(std::size_t count, std::chrono::milliseconds timeout = 20s) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return reports_.size() >= count; });
  }

  std::vector<std::vector<std::string>> reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
  }

private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::vector<std::string>> reports_;
};

class libhbd_log_monitor_test : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(hbd::constants::get_system_log_directory());
    std::filesystem::create_directories(hbd::constants::get_user_log_directory());
    libhbd_initialize();
  }

  void TearDown() override {
    libhbd_terminate();
    std::filesystem::remove_all(hbd::constants::get_system_log_directory());
    std::filesystem::remove_all(hbd::constants::get_user_log_directory());
  }

  static std::filesystem::path system_log(const std::string& name) {
    return hbd::constants::get_system_log_directory() / name;
  }

  static void append(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::app | std::ios::binary) << text;
  }

  hbd_test::log_capture log_;
  log_reports reports_;
};

TEST_F(libhbd_log_monitor_test, reports_the_merged_logs_when_a_file_grows) {
  const auto session_monitor = system_log(fmt::format("session_monitor.{0}.log", ::geteuid()));
  append(system_log("grabber.log"), "[2024-01-01 00:00:00.002] grabber\n");
  append(system_log("grabber.1.log"), "[2024-01-01 00:00:00.001] grabber rotated\n");
  append(session_monitor, "[2024-01-01 00:00:00.003] session monitor\n");
  append(hbd::constants::get_user_log_directory() / "console_user_server.log",
         "[2024-01-01 00:00:00.000] console user server\n");

  libhbd_enable_log_monitor(log_reports::callback, &reports_);
  ASSERT_TRUE(reports_.wait_for(1));
  const std::vector<std::string> first = {
      "[2024-01-01 00:00:00.000] console user server",
      "[2024-01-01 00:00:00.001] grabber rotated",
      "[2024-01-01 00:00:00.002] grabber",
      "[2024-01-01 00:00:00.003] session monitor",
  };
  EXPECT_EQ(reports_.reports()[0], first);

  append(system_log("observer.log"), "[2024-01-01 00:00:00.004] observer\n");
  ASSERT_TRUE(reports_.wait_for(2));
  EXPECT_EQ(reports_.reports()[1].back(), "[2024-01-01 00:00:00.004] observer");

  // A rewrite of the same size goes unnoticed: the next report comes with the next growth, after
  // a poll has passed in between.
  std::ofstream(system_log("observer.log"), std::ios::binary) << "[2024-01-01 00:00:00.009] observer\n";
  std::this_thread::sleep_for(1200ms);
  append(system_log("virtual_hid_device_service.log"), "[2024-01-01 00:00:00.005] driver\n");
  ASSERT_TRUE(reports_.wait_for(3));
  libhbd_disable_log_monitor();
  const auto third = reports_.reports()[2];
  ASSERT_EQ(third.size(), 6u);
  EXPECT_EQ(third[4], "[2024-01-01 00:00:00.005] driver");
  EXPECT_EQ(third[5], "[2024-01-01 00:00:00.009] observer");

  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_initialize", "libhbd_log_monitor", "~libhbd_log_monitor"}));
}

TEST_F(libhbd_log_monitor_test, what_is_no_readable_log_costs_neither_a_hang_nor_unbounded_memory) {
  const auto user_log = hbd::constants::get_user_log_directory() / "console_user_server.log";
  const std::filesystem::path paths[] = {
      system_log("grabber.log"),
      // A rotated file is read whenever another log changed, without a size check of its own.
      system_log("grabber.1.log"),
      system_log("observer.log"),
      system_log("virtual_hid_device_service.log"),
      system_log(fmt::format("session_monitor.{0}.log", ::geteuid())),
      user_log,
  };
  const struct {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
  } kinds[] = {
      {"fifo", [](const auto& path) { hbd_test::make_hostile_file(path, hbd_test::hostile_file::fifo); }},
      {"link to /dev/zero",
       [](const auto& path) { hbd_test::make_hostile_file(path, hbd_test::hostile_file::endless_device); }},
      {"folder", [](const auto& path) { std::filesystem::create_directory(path); }},
      // Only its newest bytes are read, and they hold no whole line.
      {"one line larger than the cap",
       [](const auto& path) {
         append(path, "[2024-01-01 00:00:00.000] " + std::string(std::size_t{2} << 20, 'x') + "\n");
       }},
  };
  for (const auto& path : paths) {
    for (const auto& kind : kinds) {
      SCOPED_TRACE(path.filename().string() + ": " + kind.name);
      hbd_test::watchdog watchdog(path.filename().string() + ": " + kind.name);
      std::filesystem::remove_all(hbd::constants::get_system_log_directory());
      std::filesystem::create_directories(hbd::constants::get_system_log_directory());
      std::filesystem::remove(user_log);
      kind.make(path);
      // A readable log beside it makes the monitor read them all.
      const auto readable = system_log(path.filename() == "observer.log" ? "grabber.log" : "observer.log");
      const std::string line = "[2024-01-01 00:00:00.001] readable";
      append(readable, line + "\n");

      log_reports reports;
      libhbd_enable_log_monitor(log_reports::callback, &reports);
      ASSERT_TRUE(reports.wait_for(1));
      EXPECT_EQ(reports.reports()[0], std::vector<std::string>{line});
      libhbd_terminate();
      libhbd_initialize();
    }
  }
}

TEST(libhbd_log_lines, null_handles_give_nothing) {
  EXPECT_EQ(libhbd_log_lines_get_size(nullptr), 0u);
  EXPECT_EQ(libhbd_log_lines_get_line(nullptr, 0), nullptr);
}

} // namespace

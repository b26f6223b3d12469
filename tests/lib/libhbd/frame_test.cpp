#include "libhbd.h"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

std::size_t count_entries(const char* directory) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()));
}

std::size_t thread_count() { return count_entries("/proc/self/task"); }
std::size_t descriptor_count() { return count_entries("/proc/self/fd"); }

// A joined thread can linger in the task list for a moment after the join returns; wait for the
// count to settle instead of taking the first reading as final.
std::size_t settled_thread_count(std::size_t expected) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  auto count = thread_count();
  while (count != expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
    count = thread_count();
  }
  return count;
}

// The first cycle may start process-wide helpers that stay (a sanitizer's own thread, say); the
// counts are taken after it.
void warm_up() {
  libhbd_initialize();
  libhbd_terminate();
}

} // namespace

TEST(libhbd_frame, initialize_terminate_cycles_return_threads_and_descriptors) {
  warm_up();
  const auto threads = thread_count();
  const auto descriptors = descriptor_count();

  for (int cycle = 0; cycle < 3; ++cycle) {
    SCOPED_TRACE(cycle);
    libhbd_initialize();
    EXPECT_GT(thread_count(), threads);
    // Members that hold streams, descriptors and queues go with terminate.
    libhbd_enable_observer_state_json_file_monitor(nullptr, nullptr);
    libhbd_enable_grabber_state_json_file_monitor(nullptr, nullptr);
    libhbd_enable_device_details_json_file_monitor(nullptr, nullptr);
    libhbd_enable_manipulator_environment_json_file_monitor(nullptr, nullptr);
    libhbd_enable_notification_message_json_file_monitor(nullptr, nullptr);
    libhbd_terminate();
    EXPECT_EQ(settled_thread_count(threads), threads);
    EXPECT_EQ(descriptor_count(), descriptors);
  }
}

TEST(libhbd_frame, initialize_twice_logs_twice_and_terminate_twice_is_harmless) {
  warm_up();
  hbd_test::log_capture log;
  const auto threads = thread_count();

  libhbd_initialize();
  const auto running = thread_count();
  libhbd_initialize();
  EXPECT_EQ(thread_count(), running);
  libhbd_terminate();
  libhbd_terminate();
  EXPECT_EQ(settled_thread_count(threads), threads);

  EXPECT_EQ(log.texts(),
            (std::vector<std::string>{"libhbd_initialize", "libhbd_initialize", "libhbd_terminate", "libhbd_terminate"}));
}

TEST(libhbd_frame, logging_level_switches) {
  hbd_test::log_capture log;
  libhbd_set_logging_level_off();
  libhbd_initialize();
  libhbd_terminate();
  EXPECT_TRUE(log.texts().empty());

  libhbd_set_logging_level_info();
  libhbd_initialize();
  libhbd_terminate();
  EXPECT_EQ(log.texts(), (std::vector<std::string>{"libhbd_initialize", "libhbd_terminate"}));
}

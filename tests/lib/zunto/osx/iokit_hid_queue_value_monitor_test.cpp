#include "zunto/osx/iokit_hid_queue_value_monitor.hpp"

#include "support/event_log.hpp"
#include "support/simulated_hid_device.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/osx/iokit_hid_value.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using hbd_test::simulated_hid_device;
using zunto::osx::iokit_hid_queue_value_monitor;

// A dispatcher and a run-loop thread of the test's own, and a monitor whose signals fill a log.
class iokit_hid_queue_value_monitor_test : public testing::Test {
protected:
  ~iokit_hid_queue_value_monitor_test() override {
    monitor_.reset();
    thread_->terminate();
    dispatcher_->terminate();
  }

  void make_monitor(const simulated_hid_device& device) {
    auto d = platform::iokit::hid_device_create(device.entry());
    monitor_ = std::make_unique<iokit_hid_queue_value_monitor>(dispatcher_, thread_, d);
    platform::cf::release(d);
    monitor_->started.connect([this] { log_.push("started"); });
    monitor_->stopped.connect([this] { log_.push("stopped"); });
    monitor_->error_occurred.connect([this](const std::string& message, zunto::osx::iokit_return kr) {
      log_.push(message + " " + std::to_string(kr.get()));
    });
    monitor_->values_arrived.connect([this](std::shared_ptr<iokit_hid_queue_value_monitor::values_t> values) {
      for (const auto& v : *values) {
        log_.push("value " + std::to_string(zunto::osx::iokit_hid_value(v.get()).get_integer_value()));
      }
    });
  }

  // Returns once every block handed to the run-loop thread so far has run.
  void settle_run_loop() {
    auto done = zunto::make_thread_wait();
    thread_->enqueue([done] { done->notify(); });
    done->wait_notice();
  }

  std::shared_ptr<zunto::dispatcher::hardware_time_source> clock_ =
      std::make_shared<zunto::dispatcher::hardware_time_source>();
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher_ = std::make_shared<zunto::dispatcher::dispatcher>(clock_);
  std::shared_ptr<zunto::cf::run_loop_thread> thread_ = std::make_shared<zunto::cf::run_loop_thread>();
  hbd_test::event_log log_;
  std::unique_ptr<iokit_hid_queue_value_monitor> monitor_;
};

} // namespace

TEST_F(iokit_hid_queue_value_monitor_test, only_the_first_failed_open_is_reported_and_values_wait_for_the_open) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements(),
                                {platform::iokit::return_error, platform::iokit::return_no_device});
  make_monitor(keyboard);

  // Far apart ticks: each restart of the timer tries at once.
  monitor_->async_start(0, 1h);
  ASSERT_TRUE(log_.wait_for("IOHIDDeviceOpen is failed. " + std::to_string(platform::iokit::return_error)));
  keyboard.report(0, 1); // the queue runs, the device is not open: dropped
  settle_run_loop();
  monitor_->async_start(0, 1h);
  settle_run_loop();
  monitor_->async_start(0, 1h);
  ASSERT_TRUE(log_.wait_for("started"));
  keyboard.report(0, 0);
  keyboard.report(0, 1);
  ASSERT_TRUE(log_.wait_for_size(4));
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{
                              "IOHIDDeviceOpen is failed. " + std::to_string(platform::iokit::return_error),
                              "started",
                              "value 0",
                              "value 1",
                          }));
  EXPECT_EQ(keyboard.open_count(), 1);
}

TEST_F(iokit_hid_queue_value_monitor_test, removal_stops_the_queue_and_closes_the_device) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements());
  make_monitor(keyboard);
  monitor_->async_start(0, 3000ms);
  ASSERT_TRUE(log_.wait_for("started"));
  EXPECT_EQ(keyboard.open_count(), 1);

  keyboard.remove();
  ASSERT_TRUE(log_.wait_for("stopped"));
  EXPECT_EQ(keyboard.open_count(), 0);
  keyboard.report(0, 1);
  monitor_.reset();
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"started", "stopped"}));
}

TEST_F(iokit_hid_queue_value_monitor_test, destroying_while_the_open_is_retried_frees_everything_quietly) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements(),
                                std::vector<platform::iokit::io_return>(1000, platform::iokit::return_error));
  make_monitor(keyboard);
  monitor_->async_start(0, 1ms);
  ASSERT_TRUE(log_.wait_for_size(1));
  monitor_.reset();
  EXPECT_EQ(keyboard.open_count(), 0);
  EXPECT_EQ(log_.texts().size(), 1u);
}

#include "libhbd.h"
#include "platform/iokit/notification.hpp"
#include "support/dispatcher_thread.hpp"
#include "support/event_log.hpp"
#include "support/log_capture.hpp"
#include "support/simulated_hid_device.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using hbd_test::simulated_hid_device;

// Keeps each value the callback is given as "id page usage max min value", with the thread.
struct value_recorder {
  hbd_test::event_log values;
  std::mutex mutex;
  std::vector<std::thread::id> threads;

  static void callback(uint64_t registry_entry_id, int32_t usage_page, int32_t usage, int64_t logical_max,
                       int64_t logical_min, int64_t integer_value, void* context) {
    auto* self = static_cast<value_recorder*>(context);
    {
      std::lock_guard lock(self->mutex);
      self->threads.push_back(std::this_thread::get_id());
    }
    self->values.push(text(registry_entry_id, usage_page, usage, logical_max, logical_min, integer_value));
  }

  static std::string text(uint64_t id, int32_t page, int32_t usage, int64_t max, int64_t min, int64_t value) {
    return std::to_string(id) + " " + std::to_string(page) + " " + std::to_string(usage) + " " + std::to_string(max) +
           " " + std::to_string(min) + " " + std::to_string(value);
  }
};

// Polls a flag the library offers no notice for; false when the time runs out.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Returns once every job queued on the shared dispatcher so far has run.
void settle_dispatcher() {
  zunto::dispatcher::extra::dispatcher_client fence(
      zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher());
  auto done = zunto::make_thread_wait();
  fence.enqueue_to_dispatcher([done] { done->notify(); }, zunto::dispatcher::time_point(1));
  done->wait_notice();
  fence.detach_from_dispatcher();
}

class libhbd_hid_value_monitor_test : public testing::Test {
protected:
  void SetUp() override {
    libhbd_initialize();
    log_.clear();
  }
  void TearDown() override { libhbd_terminate(); }

  hbd_test::log_capture log_;
  value_recorder recorder_;
};

} // namespace

TEST_F(libhbd_hid_value_monitor_test, every_kind_of_input_device_reports_its_values_as_given) {
  const struct {
    const char* name;
    platform::iokit::hid_usage_pair usage_pair;
  } kinds[] = {
      {"keyboard", {1, 6}}, {"mouse", {1, 2}}, {"pointer", {1, 1}}, {"joystick", {1, 4}}, {"game pad", {1, 5}},
  };
  // A range given upside down and a value outside its range reach the callback as the device gave them.
  const std::vector<simulated_hid_device::element> elements = {{7, 4, 0, 1}, {1, 0x30, 127, -127}};

  EXPECT_FALSE(libhbd_hid_value_monitor_observed());
  libhbd_enable_hid_value_monitor(value_recorder::callback, &recorder_);
  simulated_hid_device consumer({{12, 1}}, elements);

  std::vector<std::string> expected;
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.name);
    simulated_hid_device device({kind.usage_pair}, elements);
    ASSERT_TRUE(wait_until([&] { return device.open_count() == 1; }));
    device.report(0, 1);
    device.report(2, 5); // no element: skipped
    device.report(1, -300);
    device.report(0, 0);
    consumer.report(0, 1);
    expected.push_back(value_recorder::text(device.id(), 7, 4, 1, 0, 1));
    expected.push_back(value_recorder::text(device.id(), 1, 0x30, -127, 127, -300));
    expected.push_back(value_recorder::text(device.id(), 7, 4, 1, 0, 0));
    ASSERT_TRUE(recorder_.values.wait_for(expected.back()));
  }
  EXPECT_EQ(recorder_.values.texts(), expected);
  EXPECT_EQ(consumer.open_count(), 0);
  EXPECT_TRUE(libhbd_hid_value_monitor_observed());
  for (auto thread : recorder_.threads) {
    EXPECT_EQ(thread, hbd_test::shared_dispatcher_thread_id());
  }
}

TEST_F(libhbd_hid_value_monitor_test, a_failed_open_is_retried_and_then_observed) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements(), {platform::iokit::return_error});
  libhbd_enable_hid_value_monitor(value_recorder::callback, &recorder_);
  EXPECT_FALSE(libhbd_hid_value_monitor_observed());
  keyboard.report(0, 1);

  ASSERT_TRUE(wait_until([] { return libhbd_hid_value_monitor_observed(); }));
  EXPECT_EQ(keyboard.open_count(), 1);
  keyboard.report(0, 0);
  ASSERT_TRUE(recorder_.values.wait_for_size(1));
  // The value given before the open is not the device's input.
  EXPECT_EQ(recorder_.values.texts(), std::vector<std::string>{value_recorder::text(keyboard.id(), 7, 4, 1, 0, 0)});
}

TEST_F(libhbd_hid_value_monitor_test, a_removed_device_is_closed_and_its_values_end) {
  libhbd_enable_hid_value_monitor(value_recorder::callback, &recorder_);
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements());
  // Removed while its open is being retried: the retries end with it.
  simulated_hid_device refusing({{1, 6}}, hbd_test::keyboard_elements(),
                                std::vector<platform::iokit::io_return>(100, platform::iokit::return_error));
  ASSERT_TRUE(wait_until([&] { return keyboard.open_count() == 1; }));
  keyboard.remove();
  refusing.remove();
  ASSERT_TRUE(wait_until([&] { return keyboard.open_count() == 0; }));
  keyboard.report(0, 1);
  refusing.report(0, 1);

  // A device that comes later is served as before.
  simulated_hid_device mouse({{1, 2}}, {{9, 1, 0, 1}});
  ASSERT_TRUE(wait_until([&] { return mouse.open_count() == 1; }));
  mouse.report(0, 1);
  ASSERT_TRUE(recorder_.values.wait_for_size(1));
  EXPECT_EQ(recorder_.values.texts(), std::vector<std::string>{value_recorder::text(mouse.id(), 9, 1, 1, 0, 1)});
}

TEST_F(libhbd_hid_value_monitor_test, disabling_during_open_retries_or_values_ends_every_call) {
  simulated_hid_device refusing({{1, 6}}, hbd_test::keyboard_elements(),
                                std::vector<platform::iokit::io_return>(100, platform::iokit::return_error));
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements());
  libhbd_enable_hid_value_monitor(value_recorder::callback, &recorder_);
  ASSERT_TRUE(wait_until([&] { return keyboard.open_count() == 1; }));

  std::atomic<bool> stop{false};
  std::thread reporter([&] {
    while (!stop) {
      keyboard.report(0, 1);
    }
  });
  ASSERT_TRUE(recorder_.values.wait_for_size(1));
  libhbd_disable_hid_value_monitor();
  const auto count = recorder_.values.texts().size();
  stop = true;
  reporter.join();
  settle_dispatcher();

  EXPECT_EQ(recorder_.values.texts().size(), count);
  EXPECT_EQ(keyboard.open_count(), 0);
  EXPECT_EQ(refusing.open_count(), 0);
  EXPECT_FALSE(libhbd_hid_value_monitor_observed());
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_hid_value_monitor", "~libhbd_hid_value_monitor"}));
}

TEST_F(libhbd_hid_value_monitor_test, a_second_enable_replaces_the_first_and_terminate_ends_it) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements());
  value_recorder second;
  libhbd_enable_hid_value_monitor(value_recorder::callback, &recorder_);
  ASSERT_TRUE(wait_until([&] { return keyboard.open_count() == 1; }));
  libhbd_enable_hid_value_monitor(value_recorder::callback, &second);
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_hid_value_monitor", "libhbd_hid_value_monitor",
                                                    "~libhbd_hid_value_monitor"}));
  ASSERT_TRUE(wait_until([] { return libhbd_hid_value_monitor_observed(); }));
  keyboard.report(0, 1);
  ASSERT_TRUE(second.values.wait_for_size(1));
  EXPECT_TRUE(recorder_.values.texts().empty());
  EXPECT_EQ(keyboard.open_count(), 1);

  libhbd_terminate();
  EXPECT_EQ(keyboard.open_count(), 0);
  EXPECT_FALSE(libhbd_hid_value_monitor_observed());
  // Without a component manager nothing is built.
  libhbd_enable_hid_value_monitor(value_recorder::callback, &recorder_);
  libhbd_disable_hid_value_monitor();
  const auto texts = log_.texts();
  EXPECT_EQ(std::vector<std::string>(texts.end() - 2, texts.end()),
            (std::vector<std::string>{"libhbd_terminate", "~libhbd_hid_value_monitor"}));
}

TEST_F(libhbd_hid_value_monitor_test, failures_of_the_hid_manager_are_logged) {
  platform::iokit::fail_notification_port_creates(1);
  libhbd_enable_hid_value_monitor(nullptr, nullptr);
  EXPECT_TRUE(log_.wait_for_text("IONotificationPortCreate is failed.: Unknown kern_return_t (-536870212)"));
  const auto entries = log_.entries();
  EXPECT_EQ(entries.back().level, spdlog::level::err);
}

TEST_F(libhbd_hid_value_monitor_test, a_callback_may_disable_its_monitor_and_is_not_called_again) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements());
  struct disabling_recorder {
    hbd_test::event_log calls;
    static void callback(uint64_t, int32_t, int32_t, int64_t, int64_t, int64_t value, void* context) {
      static_cast<disabling_recorder*>(context)->calls.push(std::to_string(value));
      libhbd_disable_hid_value_monitor();
    }
  } recorder;
  libhbd_enable_hid_value_monitor(disabling_recorder::callback, &recorder);
  ASSERT_TRUE(wait_until([&] { return keyboard.open_count() == 1; }));
  for (int i = 0; i < 3; ++i) {
    keyboard.report(0, i);
  }
  ASSERT_TRUE(log_.wait_for_text("~libhbd_hid_value_monitor"));
  settle_dispatcher();
  EXPECT_EQ(recorder.calls.texts(), std::vector<std::string>{"0"});
  EXPECT_EQ(keyboard.open_count(), 0);
}

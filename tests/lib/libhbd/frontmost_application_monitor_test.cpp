#include "libhbd.h"
#include "support/bridge_fence.hpp"
#include "support/event_log.hpp"
#include "support/log_capture.hpp"

#include "platform/workspace/workspace.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

struct frontmost_calls {
  hbd_test::event_log events;
  std::thread::id caller = std::this_thread::get_id();
};

void record(const char* bundle_identifier, const char* file_path, void* context) {
  auto* calls = static_cast<frontmost_calls*>(context);
  if (std::this_thread::get_id() == calls->caller) {
    calls->events.push("on the caller's thread");
  }
  calls->events.push(std::string(bundle_identifier) + "|" + file_path);
}

class libhbd_frontmost_application_monitor_test : public testing::Test {
protected:
  void SetUp() override { libhbd_initialize(); }
  void TearDown() override {
    libhbd_terminate();
    platform::workspace::reset();
  }

  hbd_test::log_capture log_;
  frontmost_calls calls_;
};

TEST_F(libhbd_frontmost_application_monitor_test, follows_activations_until_disabled) {
  platform::workspace::activate({"org.example.first", "/opt/first"});
  libhbd_enable_frontmost_application_monitor(record, &calls_);
  // The application frontmost when the monitor starts comes first.
  ASSERT_TRUE(calls_.events.wait_for("org.example.first|/opt/first"));

  platform::workspace::activate({std::nullopt, "/usr/bin/tool"});
  platform::workspace::activate({"org.example.first", std::nullopt});
  platform::workspace::activate({"org.example.first", std::nullopt});
  ASSERT_TRUE(calls_.events.wait_for_count("org.example.first|", 2));
  EXPECT_EQ(calls_.events.texts(), (std::vector<std::string>{"org.example.first|/opt/first", "|/usr/bin/tool",
                                                             "org.example.first|", "org.example.first|"}));

  libhbd_disable_frontmost_application_monitor();
  // Reported to every callback still registered: the disabled monitor's is not.
  const auto after = hbd_test::activate_and_wait_for_bridge();
  libhbd_terminate();
  EXPECT_EQ(calls_.events.count(after + "|/fence"), 0u);
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_initialize", "libhbd_frontmost_application_monitor",
                                                    "~libhbd_frontmost_application_monitor", "libhbd_terminate"}));
}

TEST_F(libhbd_frontmost_application_monitor_test, a_replaced_monitor_stops_and_a_null_callback_is_allowed) {
  libhbd_enable_frontmost_application_monitor(record, &calls_);
  libhbd_enable_frontmost_application_monitor(nullptr, nullptr);
  const auto replaced = hbd_test::activate_and_wait_for_bridge();
  libhbd_terminate();
  EXPECT_EQ(calls_.events.count(replaced + "|/fence"), 0u);
}

} // namespace

#include "libhbd.h"
#include "support/event_log.hpp"
#include "support/log_capture.hpp"

#include "platform/workspace/workspace.hpp"
#include "zunto/osx/frontmost_application_monitor/bridge.hpp"

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
    calls->events.add("on the caller's thread");
  }
  calls->events.add(std::string(bundle_identifier) + "|" + file_path);
}

void record_bridge(const char* bundle_identifier, const char*, void* context) {
  static_cast<hbd_test::event_log*>(context)->add(bundle_identifier);
}

class libhbd_frontmost_application_monitor_test : public testing::Test {
protected:
  void SetUp() override { libhbd_initialize(); }
  void TearDown() override {
    libhbd_terminate();
    platform::workspace::reset();
  }

  // Activates the application and returns once the bridge has reported it: by then a monitor
  // that is gone would have had the report too.
  static void activate_and_fence(const std::string& bundle_identifier) {
    hbd_test::event_log fence;
    zunto_osx_frontmost_application_monitor_register(record_bridge, &fence);
    platform::workspace::activate({bundle_identifier, std::nullopt});
    ASSERT_TRUE(fence.wait_for(bundle_identifier));
    zunto_osx_frontmost_application_monitor_unregister(record_bridge, &fence);
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
  ASSERT_TRUE(calls_.events.wait_for("org.example.first|", 2));
  EXPECT_EQ(calls_.events.events(), (std::vector<std::string>{"org.example.first|/opt/first", "|/usr/bin/tool",
                                                              "org.example.first|", "org.example.first|"}));

  libhbd_disable_frontmost_application_monitor();
  activate_and_fence("org.example.after");
  libhbd_terminate();
  EXPECT_EQ(calls_.events.count("org.example.after|"), 0u);
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_initialize", "libhbd_frontmost_application_monitor",
                                                    "~libhbd_frontmost_application_monitor", "libhbd_terminate"}));
}

TEST_F(libhbd_frontmost_application_monitor_test, a_replaced_monitor_stops_and_a_null_callback_is_allowed) {
  libhbd_enable_frontmost_application_monitor(record, &calls_);
  libhbd_enable_frontmost_application_monitor(nullptr, nullptr);
  activate_and_fence("org.example.replaced");
  libhbd_terminate();
  EXPECT_EQ(calls_.events.count("org.example.replaced|"), 0u);
}

} // namespace

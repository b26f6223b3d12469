#include "zunto/osx/frontmost_application_monitor/bridge.hpp"

#include "platform/workspace/workspace.hpp"
#include "support/event_log.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

void record(const char* bundle_identifier, const char* file_path, void* context) {
  static_cast<hbd_test::event_log*>(context)->add(std::string(bundle_identifier) + " " + file_path);
}

class frontmost_application_bridge_test : public testing::Test {
protected:
  frontmost_application_bridge_test() {
    zunto_osx_frontmost_application_monitor_register(record, &fence_);
    // Once the fence has this activation, its registration is done.
    activate_and_wait("org.example.start", fence_);
  }

  ~frontmost_application_bridge_test() override {
    zunto_osx_frontmost_application_monitor_unregister(record, &fence_);
    zunto_osx_frontmost_application_monitor_unregister(record, &first_);
    zunto_osx_frontmost_application_monitor_unregister(record, &second_);
    platform::workspace::reset();
  }

  // Callbacks are called in registration order: once `last` has this activation, every callback
  // registered before it has had it too.
  void activate_and_wait(const std::string& bundle_identifier, const hbd_test::event_log& last) {
    platform::workspace::activate({bundle_identifier, "/fence"});
    ASSERT_TRUE(last.wait_for(bundle_identifier + " /fence"));
  }

  hbd_test::event_log first_;
  hbd_test::event_log second_;
  hbd_test::event_log fence_;
};

TEST_F(frontmost_application_bridge_test, a_pair_registered_twice_is_kept_once_and_reports_at_each_registration) {
  activate_and_wait("org.example.editor", fence_);
  zunto_osx_frontmost_application_monitor_register(record, &first_);
  zunto_osx_frontmost_application_monitor_register(record, &second_);
  zunto_osx_frontmost_application_monitor_register(record, &first_);
  // Each registration reported the frontmost application to every callback registered so far.
  ASSERT_TRUE(fence_.wait_for("org.example.editor /fence", 4));
  activate_and_wait("org.example.other", second_);

  EXPECT_EQ(first_.events(), (std::vector<std::string>{"org.example.editor /fence", "org.example.editor /fence",
                                                       "org.example.editor /fence", "org.example.other /fence"}));
  EXPECT_EQ(second_.events(), (std::vector<std::string>{"org.example.editor /fence", "org.example.editor /fence",
                                                        "org.example.other /fence"}));
}

TEST_F(frontmost_application_bridge_test, unregistering_removes_only_that_pair) {
  activate_and_wait("org.example.before", fence_);
  hbd_test::event_log last;
  zunto_osx_frontmost_application_monitor_register(record, &first_);
  zunto_osx_frontmost_application_monitor_register(record, &second_);
  zunto_osx_frontmost_application_monitor_register(record, &last);
  // Never registered: changes nothing.
  hbd_test::event_log never_registered;
  zunto_osx_frontmost_application_monitor_unregister(record, &never_registered);
  zunto_osx_frontmost_application_monitor_unregister(record, &second_);
  ASSERT_TRUE(last.wait_for("org.example.before /fence"));
  activate_and_wait("org.example.after", last);
  zunto_osx_frontmost_application_monitor_unregister(record, &last);
  EXPECT_EQ(first_.events(), (std::vector<std::string>{"org.example.before /fence", "org.example.before /fence",
                                                       "org.example.before /fence", "org.example.after /fence"}));
  EXPECT_EQ(second_.events(), (std::vector<std::string>{"org.example.before /fence", "org.example.before /fence"}));
}

TEST_F(frontmost_application_bridge_test, malformed_notifications_are_reported_on_standard_output_and_dropped) {
  activate_and_wait("org.example.before", fence_);
  zunto_osx_frontmost_application_monitor_register(record, &first_);
  ASSERT_TRUE(first_.wait_for("org.example.before /fence"));
  testing::internal::CaptureStdout();
  platform::workspace::post_did_activate_application({});
  platform::workspace::post_did_activate_application({platform::workspace::user_info{}});
  const auto output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(output, "Missing notification info on NSWorkspace.didActivateApplicationNotification\n"
                    "Missing runningApplication on NSWorkspace.didActivateApplicationNotification\n");
  activate_and_wait("org.example.after", first_);
  EXPECT_EQ(first_.events(),
            (std::vector<std::string>{"org.example.before /fence", "org.example.after /fence"}));
}

} // namespace

#include "zunto/osx/frontmost_application_monitor/bridge.hpp"

#include "platform/workspace/workspace.hpp"
#include "support/bridge_fence.hpp"
#include "support/event_log.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using strings = std::vector<std::string>;

void record(const char* bundle_identifier, const char* file_path, void* context) {
  static_cast<hbd_test::event_log*>(context)->push(std::string(bundle_identifier) + " " + file_path);
}

class frontmost_application_bridge_test : public testing::Test {
protected:
  ~frontmost_application_bridge_test() override {
    for (auto* log : {&first_, &second_, &last_}) {
      zunto_osx_frontmost_application_monitor_unregister(record, log);
    }
    // The logs go with the fixture: nothing may call them afterwards.
    hbd_test::activate_and_wait_for_bridge();
    platform::workspace::reset();
  }

  static void register_log(hbd_test::event_log& log) { zunto_osx_frontmost_application_monitor_register(record, &log); }

  // Callbacks are called in registration order: once `last_`, registered last, has this report,
  // every callback registered before it has had it too.
  void activate_and_wait(const std::string& bundle_identifier) {
    platform::workspace::activate({bundle_identifier, "/opt/app"});
    ASSERT_TRUE(last_.wait_for(bundle_identifier + " /opt/app"));
  }

  hbd_test::event_log first_;
  hbd_test::event_log second_;
  hbd_test::event_log last_;
};

TEST_F(frontmost_application_bridge_test, a_pair_registered_twice_is_kept_once_and_reports_at_each_registration) {
  platform::workspace::activate({"org.example.editor", "/opt/editor"});
  register_log(first_);
  register_log(second_);
  register_log(first_);
  register_log(last_);
  // Each registration reported the frontmost application to every callback registered by then.
  ASSERT_TRUE(last_.wait_for("org.example.editor /opt/editor"));
  activate_and_wait("org.example.other");

  const std::string editor = "org.example.editor /opt/editor";
  const std::string other = "org.example.other /opt/app";
  EXPECT_EQ(first_.texts(), (strings{editor, editor, editor, editor, other}));
  EXPECT_EQ(second_.texts(), (strings{editor, editor, editor, other}));
}

TEST_F(frontmost_application_bridge_test, unregistering_removes_only_that_pair) {
  platform::workspace::activate({"org.example.before", "/opt/before"});
  register_log(first_);
  register_log(second_);
  register_log(last_);
  // Never registered: changes nothing.
  hbd_test::event_log never_registered;
  zunto_osx_frontmost_application_monitor_unregister(record, &never_registered);
  zunto_osx_frontmost_application_monitor_unregister(record, &second_);
  const std::string before = "org.example.before /opt/before";
  ASSERT_TRUE(last_.wait_for(before));
  activate_and_wait("org.example.after");

  EXPECT_EQ(first_.texts(), (strings{before, before, before, "org.example.after /opt/app"}));
  EXPECT_EQ(second_.texts(), (strings{before, before}));
}

TEST_F(frontmost_application_bridge_test, malformed_notifications_are_reported_on_standard_output_and_dropped) {
  platform::workspace::activate({"org.example.before", "/opt/before"});
  register_log(last_);
  ASSERT_TRUE(last_.wait_for("org.example.before /opt/before"));
  testing::internal::CaptureStdout();
  platform::workspace::post_did_activate_application({});
  platform::workspace::post_did_activate_application({platform::workspace::user_info{}});
  const auto output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(output, "Missing notification info on NSWorkspace.didActivateApplicationNotification\n"
                    "Missing runningApplication on NSWorkspace.didActivateApplicationNotification\n");
  activate_and_wait("org.example.after");
  EXPECT_EQ(last_.texts(), (strings{"org.example.before /opt/before", "org.example.after /opt/app"}));
}

} // namespace

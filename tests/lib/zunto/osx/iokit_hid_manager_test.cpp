#include "zunto/osx/iokit_hid_manager.hpp"

#include "platform/iokit/notification.hpp"
#include "support/event_log.hpp"
#include "support/simulated_hid_device.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using hbd_test::simulated_hid_device;
using zunto::osx::iokit_hid_manager;
using zunto::osx::iokit_registry_entry_id::value_t;

namespace usage = zunto::hid::usage::generic_desktop;

std::string id_text(std::uint64_t id) { return std::to_string(id); }
std::string id_text(value_t id) { return id_text(static_cast<std::uint64_t>(id)); }

// A dispatcher and a run-loop thread of the test's own, and a manager whose signals fill a log.
class iokit_hid_manager_test : public testing::Test {
protected:
  ~iokit_hid_manager_test() override {
    manager_.reset();
    thread_->terminate();
    dispatcher_->terminate();
  }

  void start(std::vector<iokit_hid_manager::matching_dictionary> dictionaries,
             std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
    manager_ = std::make_unique<iokit_hid_manager>(dispatcher_, thread_, std::move(dictionaries), delay);
    manager_->device_matched.connect([this](value_t id, zunto::cf::cf_ptr<platform::iokit::hid_device_ref> device) {
      log_.push("matched " + id_text(id) + (device ? "" : " without device"));
    });
    manager_->device_terminated.connect([this](value_t id) { log_.push("terminated " + id_text(id)); });
    manager_->error_occurred.connect(
        [this](const std::string& message, zunto::osx::kern_return kr) { log_.push(message + " " + kr.to_string()); });
    manager_->async_start();
  }

  static iokit_hid_manager::matching_dictionary matching(zunto::hid::usage::value_t u) {
    return iokit_hid_manager::make_matching_dictionary(zunto::hid::usage_page::generic_desktop, u);
  }

  std::shared_ptr<zunto::dispatcher::hardware_time_source> clock_ =
      std::make_shared<zunto::dispatcher::hardware_time_source>();
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher_ = std::make_shared<zunto::dispatcher::dispatcher>(clock_);
  std::shared_ptr<zunto::cf::run_loop_thread> thread_ = std::make_shared<zunto::cf::run_loop_thread>();
  hbd_test::event_log log_;
  std::unique_ptr<iokit_hid_manager> manager_;
};

} // namespace

TEST_F(iokit_hid_manager_test, each_device_is_announced_once_and_its_end_after_that) {
  simulated_hid_device present({{1, 6}}, hbd_test::keyboard_elements());
  simulated_hid_device other_page({{12, 6}}, {});
  // Null descriptions are skipped; the device matching two descriptions is one device.
  start({iokit_hid_manager::matching_dictionary(), matching(usage::keyboard), matching(usage::mouse)});
  ASSERT_TRUE(log_.wait_for("matched " + id_text(present.id())));

  simulated_hid_device both({{1, 2}, {1, 6}}, {});
  ASSERT_TRUE(log_.wait_for("matched " + id_text(both.id())));
  both.remove();
  present.remove();
  ASSERT_TRUE(log_.wait_for_size(4));
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{
                              "matched " + id_text(present.id()),
                              "matched " + id_text(both.id()),
                              "terminated " + id_text(both.id()),
                              "terminated " + id_text(present.id()),
                          }));
}

TEST_F(iokit_hid_manager_test, a_device_gone_before_its_announcement_is_never_announced) {
  start({matching(usage::keyboard)}, std::chrono::milliseconds(300));
  { simulated_hid_device brief({{1, 6}}, {}); }
  // A fence: announced after the brief device's announcement was due.
  simulated_hid_device lasting({{1, 6}}, {});
  ASSERT_TRUE(log_.wait_for("matched " + id_text(lasting.id())));
  EXPECT_EQ(log_.texts(), std::vector<std::string>{"matched " + id_text(lasting.id())});
}

TEST_F(iokit_hid_manager_test, notification_failures_are_reported_and_nothing_else_happens) {
  const struct {
    const char* name;
    std::function<void()> fail;
    std::string error;
  } cases[] = {
      {"port", [] { platform::iokit::fail_notification_port_creates(1); },
       "IONotificationPortCreate is failed. Unknown kern_return_t (-536870212)"},
      {"notification", [] { platform::iokit::fail_matching_notifications(0x10000004, 1); },
       "IOServiceAddMatchingNotification is failed. KERN_INVALID_ARGUMENT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.fail();
    start({matching(usage::keyboard)});
    EXPECT_TRUE(log_.wait_for(c.error));
    manager_.reset();
  }
}

TEST_F(iokit_hid_manager_test, stop_forgets_devices_without_announcing_their_end) {
  simulated_hid_device keyboard({{1, 6}}, {});
  start({matching(usage::keyboard)});
  ASSERT_TRUE(log_.wait_for("matched " + id_text(keyboard.id())));
  manager_.reset();
  keyboard.remove();
  EXPECT_EQ(log_.texts(), std::vector<std::string>{"matched " + id_text(keyboard.id())});
}

#include "platform/iokit/notification.hpp"

#include "platform/cf/number.hpp"
#include "platform/iokit/hid_device.hpp"
#include "support/registry_entry_owner.hpp"
#include "zunto/cf/run_loop_thread.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace iokit = platform::iokit;
using hbd_test::registry_entry_owner;

namespace {

std::uint64_t id_of(iokit::registry_entry_ref entry) { return *iokit::registry_entry_get_registry_entry_id(entry); }

// Keeps the ids each callback drained and the thread it ran on.
struct reports {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::uint64_t> ids;
  std::thread::id thread;

  static void callback(void* context, iokit::iterator_ref iterator) {
    auto* self = static_cast<reports*>(context);
    std::lock_guard lock(self->mutex);
    self->thread = std::this_thread::get_id();
    while (auto entry = iokit::iterator_next(iterator)) {
      self->ids.push_back(id_of(entry));
      platform::cf::release(entry);
    }
    self->changed.notify_all();
  }

  bool wait_for(std::size_t count) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [&] { return ids.size() >= count; });
  }

  std::vector<std::uint64_t> get() {
    std::lock_guard lock(mutex);
    return ids;
  }
};

iokit::matching_ref keyboard_matching() {
  auto matching = iokit::service_matching("IOHIDDevice");
  for (auto [key, value] : {std::pair{"DeviceUsagePage", 1}, std::pair{"DeviceUsage", 6}}) {
    auto number = platform::cf::number_create_int64(value);
    iokit::matching_set_value(matching, key, number);
    platform::cf::release(number);
  }
  return matching;
}

// A port whose source is served by a run-loop thread of its own.
class notification_port_test : public testing::Test {
protected:
  void SetUp() override {
    port_ = iokit::notification_port_create();
    ASSERT_NE(port_, nullptr);
    thread_.add_source(iokit::notification_port_get_run_loop_source(port_));
    auto known = zunto::make_thread_wait();
    thread_.enqueue([this, known] {
      loop_thread_id_ = std::this_thread::get_id();
      known->notify();
    });
    known->wait_notice();
  }

  void TearDown() override {
    // The port ends on the loop's thread, as its owner would end it.
    thread_.enqueue([this] {
      thread_.remove_source(iokit::notification_port_get_run_loop_source(port_));
      iokit::notification_port_destroy(port_);
    });
    thread_.terminate();
  }

  std::vector<std::uint64_t> add(iokit::notification_type type, reports& r) {
    iokit::iterator_ref iterator = nullptr;
    EXPECT_EQ(
        iokit::service_add_matching_notification(port_, type, keyboard_matching(), &reports::callback, &r, &iterator),
        iokit::return_success);
    std::vector<std::uint64_t> present;
    for (auto entry : hbd_test::drain(iterator)) {
      present.push_back(id_of(entry));
    }
    return present;
  }

  zunto::cf::run_loop_thread thread_;
  iokit::notification_port_ref port_ = nullptr;
  std::thread::id loop_thread_id_;
};

} // namespace

TEST_F(notification_port_test, first_match_gives_present_services_then_each_new_match_once) {
  registry_entry_owner present("IOHIDUserDevice");
  iokit::registry_entry_set_hid_usage_pairs(present.get(), {{1, 6}});
  registry_entry_owner mouse("IOHIDUserDevice");
  iokit::registry_entry_set_hid_usage_pairs(mouse.get(), {{1, 2}});

  reports r;
  EXPECT_EQ(add(iokit::notification_type::first_match, r), std::vector<std::uint64_t>{id_of(present.get())});

  // Not a HID service yet, so not a keyboard; it matches once its pairs are set, and only once.
  registry_entry_owner later("IOHIDUserDevice");
  iokit::registry_entry_set_name(later.get(), "later");
  iokit::registry_entry_set_hid_usage_pairs(later.get(), {{1, 2}, {1, 6}});
  iokit::registry_entry_set_name(later.get(), "renamed");
  iokit::registry_entry_set_hid_usage_pairs(present.get(), {{1, 6}, {7, 0}});
  // A fence: the last change reported comes after everything above.
  registry_entry_owner fence("IOHIDUserDevice");
  iokit::registry_entry_set_hid_usage_pairs(fence.get(), {{1, 6}});

  ASSERT_TRUE(r.wait_for(2));
  EXPECT_EQ(r.get(), (std::vector<std::uint64_t>{id_of(later.get()), id_of(fence.get())}));
  EXPECT_EQ(r.thread, loop_thread_id_);
}

TEST_F(notification_port_test, terminate_reports_matching_services_as_they_go) {
  registry_entry_owner keyboard("IOHIDUserDevice");
  iokit::registry_entry_set_hid_usage_pairs(keyboard.get(), {{1, 6}});
  registry_entry_owner mouse("IOHIDUserDevice");
  iokit::registry_entry_set_hid_usage_pairs(mouse.get(), {{1, 2}});

  reports r;
  EXPECT_TRUE(add(iokit::notification_type::terminate, r).empty());
  iokit::registry_entry_terminate(mouse.get());
  iokit::registry_entry_terminate(keyboard.get());
  iokit::registry_entry_terminate(keyboard.get());

  ASSERT_TRUE(r.wait_for(1));
  EXPECT_EQ(r.get(), std::vector<std::uint64_t>{id_of(keyboard.get())});
}

TEST(platform_iokit_notification, failures_a_test_sets_happen_once_each_and_consume_the_matching) {
  iokit::fail_notification_port_creates(1);
  EXPECT_EQ(iokit::notification_port_create(), nullptr);
  auto port = iokit::notification_port_create();
  ASSERT_NE(port, nullptr);

  iokit::fail_matching_notifications(static_cast<iokit::io_return>(0xE00002E2), 1);
  auto matching = keyboard_matching();
  platform::cf::retain(matching);
  iokit::iterator_ref iterator = nullptr;
  EXPECT_EQ(iokit::service_add_matching_notification(port, iokit::notification_type::first_match, matching, nullptr,
                                                     nullptr, &iterator),
            static_cast<iokit::io_return>(0xE00002E2));
  EXPECT_EQ(iterator, nullptr);
  EXPECT_EQ(platform::cf::get_retain_count(matching), 1);

  EXPECT_EQ(iokit::service_add_matching_notification(port, iokit::notification_type::first_match, matching, nullptr,
                                                     nullptr, &iterator),
            iokit::return_success);
  EXPECT_NE(iterator, nullptr);
  EXPECT_EQ(iokit::service_add_matching_notification(nullptr, iokit::notification_type::first_match,
                                                     keyboard_matching(), nullptr, nullptr, &iterator),
            iokit::return_bad_argument);
  platform::cf::release(iterator);
  iokit::notification_port_destroy(port);
}

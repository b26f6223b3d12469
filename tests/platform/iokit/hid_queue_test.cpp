#include "platform/iokit/hid_queue.hpp"

#include "support/simulated_hid_device.hpp"
#include "zunto/cf/run_loop_thread.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace iokit = platform::iokit;
using hbd_test::simulated_hid_device;

namespace {

// Releases what a create call returned.
template <typename T>
std::shared_ptr<std::remove_pointer_t<T>> adopt(T object) {
  return {object, [](T o) { platform::cf::release(o); }};
}

std::vector<std::int64_t> drain(iokit::hid_queue_ref queue) {
  std::vector<std::int64_t> values;
  while (auto value = iokit::hid_queue_copy_next_value(queue)) {
    values.push_back(iokit::hid_value_get_integer_value(value));
    platform::cf::release(value);
  }
  return values;
}

} // namespace

TEST(platform_iokit_hid_device, opens_follow_injected_failures_seizing_and_removal) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements(),
                                {iokit::return_error, 0, iokit::return_no_device});
  auto a = adopt(iokit::hid_device_create(keyboard.entry()));
  auto b = adopt(iokit::hid_device_create(keyboard.entry()));

  struct step {
    iokit::hid_device_ref device;
    std::uint32_t options;
    iokit::io_return expected;
    int open_count;
  };
  const std::vector<step> steps = {
      {a.get(), 0, iokit::return_error, 0},     // injected
      {a.get(), 0, iokit::return_success, 1},   // an injected 0 is a success
      {b.get(), 0, iokit::return_no_device, 1}, // injected
      {b.get(), iokit::hid_open_seize, iokit::return_exclusive_access, 1},
      {b.get(), 0, iokit::return_success, 2},
      {a.get(), 0, iokit::return_success, 2}, // already open
  };
  for (const auto& s : steps) {
    EXPECT_EQ(iokit::hid_device_open(s.device, s.options), s.expected);
    EXPECT_EQ(keyboard.open_count(), s.open_count);
  }

  EXPECT_EQ(iokit::hid_device_close(a.get(), 0), iokit::return_success);
  EXPECT_EQ(iokit::hid_device_close(a.get(), 0), iokit::return_not_open);
  EXPECT_EQ(iokit::hid_device_close(b.get(), 0), iokit::return_success);
  EXPECT_EQ(iokit::hid_device_open(a.get(), iokit::hid_open_seize), iokit::return_success);
  EXPECT_EQ(iokit::hid_device_open(b.get(), 0), iokit::return_exclusive_access);
  // Released while open: the service is free again.
  a.reset();
  EXPECT_EQ(keyboard.open_count(), 0);

  keyboard.remove();
  EXPECT_EQ(iokit::hid_device_open(b.get(), 0), iokit::return_no_device);
  EXPECT_EQ(iokit::hid_device_open(nullptr, 0), iokit::return_bad_argument);
}

TEST(platform_iokit_hid_device, elements_come_in_the_order_they_were_added) {
  simulated_hid_device pad({{1, 5}}, {{1, 0x30, -127, 127}, {9, 1, 0, 1}});
  auto device = adopt(iokit::hid_device_create(pad.entry()));
  auto elements = iokit::hid_device_copy_matching_elements(device.get());
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(iokit::hid_element_get_usage(elements[0]), 0x30u);
  EXPECT_EQ(iokit::hid_element_get_logical_min(elements[0]), -127);
  EXPECT_EQ(iokit::hid_element_get_usage_page(elements[1]), 9u);
  for (auto e : elements) {
    platform::cf::release(e);
  }
  EXPECT_TRUE(iokit::hid_device_copy_matching_elements(nullptr).empty());
}

TEST(platform_iokit_hid_queue, a_started_queue_keeps_its_elements_values_up_to_its_depth) {
  simulated_hid_device pad({{1, 5}}, {{1, 0x30, -127, 127}, {9, 1, 0, 1}});
  auto device = adopt(iokit::hid_device_create(pad.entry()));
  auto queue = adopt(iokit::hid_queue_create(device.get(), 3));
  ASSERT_NE(queue, nullptr);
  EXPECT_EQ(iokit::hid_queue_create(device.get(), 0), nullptr);
  EXPECT_EQ(iokit::hid_queue_create(nullptr, 3), nullptr);

  auto elements = iokit::hid_device_copy_matching_elements(device.get());
  iokit::hid_queue_add_element(queue.get(), elements[1]);
  for (auto e : elements) {
    platform::cf::release(e);
  }

  pad.report(1, 10); // not started yet
  iokit::hid_queue_start(queue.get());
  pad.report(0, 20); // not the queue's element
  pad.report(1, 1);
  pad.report(2, 2); // no element: every queue takes it
  pad.report(1, 3);
  pad.report(1, 4); // past the depth
  EXPECT_EQ(drain(queue.get()), (std::vector<std::int64_t>{1, 2, 3}));

  pad.report(1, 5);
  iokit::hid_queue_stop(queue.get());
  pad.report(1, 6);
  EXPECT_TRUE(drain(queue.get()).empty());
}

TEST(platform_iokit_hid_queue, callbacks_run_on_the_scheduled_loop_until_unscheduled) {
  simulated_hid_device keyboard({{1, 6}}, hbd_test::keyboard_elements());
  auto device = adopt(iokit::hid_device_create(keyboard.entry()));
  auto queue = adopt(iokit::hid_queue_create(device.get(), 8));
  auto elements = iokit::hid_device_copy_matching_elements(device.get());
  iokit::hid_queue_add_element(queue.get(), elements[0]);
  platform::cf::release(elements[0]);

  struct record {
    std::atomic<int> values{0};
    std::atomic<int> removals{0};
    std::shared_ptr<zunto::thread_wait> value_seen = zunto::make_thread_wait();
    std::shared_ptr<zunto::thread_wait> removal_seen = zunto::make_thread_wait();
  } r;
  zunto::cf::run_loop_thread thread;
  auto loop = thread.get_run_loop();
  auto ready = zunto::make_thread_wait();
  thread.enqueue([&] {
    iokit::hid_queue_register_value_available_callback(
        queue.get(),
        [](void* context, iokit::io_return, void*) {
          auto* self = static_cast<record*>(context);
          ++self->values;
          self->value_seen->notify();
        },
        &r);
    iokit::hid_queue_schedule_with_run_loop(queue.get(), loop);
    iokit::hid_queue_start(queue.get());
    iokit::hid_device_register_removal_callback(
        device.get(),
        [](void* context, iokit::io_return, void*) {
          auto* self = static_cast<record*>(context);
          ++self->removals;
          self->removal_seen->notify();
        },
        &r);
    iokit::hid_device_schedule_with_run_loop(device.get(), loop);
    ready->notify();
  });
  ready->wait_notice();

  keyboard.report(0, 1);
  r.value_seen->wait_notice();
  keyboard.remove();
  r.removal_seen->wait_notice();

  auto done = zunto::make_thread_wait();
  thread.enqueue([&] {
    iokit::hid_queue_stop(queue.get());
    iokit::hid_queue_unschedule_from_run_loop(queue.get(), loop);
    iokit::hid_device_unschedule_from_run_loop(device.get(), loop);
    done->notify();
  });
  done->wait_notice();
  thread.terminate();
  EXPECT_GE(r.values, 1);
  EXPECT_EQ(r.removals, 1);
}

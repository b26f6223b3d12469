#include "platform/dispatch/serial_queue.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::dispatch::serial_queue;

TEST(platform_dispatch_serial_queue, runs_blocks_one_at_a_time_in_order_on_its_own_thread) {
  serial_queue queue("test.queue");
  EXPECT_EQ(queue.label(), "test.queue");
  EXPECT_FALSE(queue.current());

  std::vector<int> order;
  std::vector<std::thread::id> threads;
  bool current_inside = true;
  for (int i = 0; i < 100; ++i) {
    queue.async([&, i] {
      order.push_back(i);
      threads.push_back(std::this_thread::get_id());
      current_inside = current_inside && queue.current();
    });
  }
  queue.async(nullptr);
  queue.sync([&] { order.push_back(100); });

  ASSERT_EQ(order.size(), 101u);
  for (std::size_t i = 0; i <= 100; ++i) {
    EXPECT_EQ(order[i], static_cast<int>(i));
  }
  EXPECT_TRUE(current_inside);
  for (const auto& id : threads) {
    EXPECT_EQ(id, threads.front());
  }
  EXPECT_NE(threads.front(), std::this_thread::get_id());
}

TEST(platform_dispatch_serial_queue, sync_from_its_own_block_runs_at_once) {
  serial_queue queue("test.queue");
  bool inner_ran = false;
  queue.sync([&] { queue.sync([&] { inner_ran = true; }); });
  EXPECT_TRUE(inner_ran);
}

TEST(platform_dispatch_serial_queue, sync_on_an_idle_queue_runs_on_the_caller_and_holds_the_queue) {
  serial_queue queue("test.queue");
  std::vector<std::string> order;
  std::mutex order_mutex;
  const auto note = [&](std::string what) {
    std::lock_guard lock(order_mutex);
    order.push_back(std::move(what));
  };
  auto entered = zunto::make_thread_wait();
  auto release = zunto::make_thread_wait();
  std::thread::id sync_thread;
  bool current_inside = false;
  std::thread other([&] {
    entered->wait_notice();
    // Queued while the sync block holds the queue: it runs only after that block.
    queue.async([&] { note("queued"); });
    release->notify();
  });
  queue.sync([&] {
    sync_thread = std::this_thread::get_id();
    current_inside = queue.current();
    entered->notify();
    release->wait_notice();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    note("sync");
  });
  other.join();
  queue.sync([&] { note("after"); });

  EXPECT_EQ(sync_thread, std::this_thread::get_id());
  EXPECT_TRUE(current_inside);
  EXPECT_FALSE(queue.current());
  EXPECT_EQ(order, (std::vector<std::string>{"sync", "queued", "after"}));
}

TEST(platform_dispatch_serial_queue, a_failing_block_does_not_stop_the_queue) {
  serial_queue queue("test.queue");
  queue.async([] { throw std::runtime_error("expected by the test"); });
  queue.async([] { throw 42; });
  bool later_ran = false;
  queue.sync([&] { later_ran = true; });
  EXPECT_TRUE(later_ran);
}

TEST(platform_dispatch_serial_queue, destruction_lets_queued_blocks_run_first) {
  int ran = 0;
  auto gate = zunto::make_thread_wait();
  {
    serial_queue queue("test.queue");
    queue.async([&] { gate->wait_notice(); });
    for (int i = 0; i < 10; ++i) {
      queue.async([&] { ++ran; });
    }
    gate->notify();
  }
  EXPECT_EQ(ran, 10);
}

TEST(platform_dispatch_serial_queue, the_last_reference_may_go_in_its_own_block) {
  // The block holds the only reference; it goes when the block is done, on the queue's thread.
  struct holder {
    std::shared_ptr<serial_queue> queue;
    std::shared_ptr<zunto::thread_wait> gone;
    ~holder() {
      queue.reset();
      gone->notify();
    }
  };
  auto gone = zunto::make_thread_wait();
  auto queue = std::make_shared<serial_queue>("test.queue");
  auto keep = std::make_shared<holder>();
  keep->queue = queue;
  keep->gone = gone;
  auto start = zunto::make_thread_wait();
  queue->async([keep, start] { start->wait_notice(); });
  keep.reset();
  queue.reset();
  start->notify();
  gone->wait_notice();
}

struct release_case {
  std::string name;
  // A block of the queue runs when sync is called: the sync block waits for it and runs on the
  // queue's thread.
  bool busy;
};

void PrintTo(const release_case& c, std::ostream* os) { *os << c.name; }

class serial_queue_release_test : public testing::TestWithParam<release_case> {};

TEST_P(serial_queue_release_test, the_last_reference_may_go_in_a_sync_block) {
  auto queue = std::make_shared<serial_queue>("test.queue");
  std::weak_ptr<serial_queue> weak_queue = queue;
  std::thread releaser;
  if (GetParam().busy) {
    auto started = zunto::make_thread_wait();
    auto gate = zunto::make_thread_wait();
    queue->async([started, gate] {
      started->notify();
      gate->wait_notice();
    });
    started->wait_notice();
    // Should the releaser win the race with sync's look at the queue, the block runs as on an idle
    // queue: the reference goes in a sync block either way.
    releaser = std::thread([gate] { gate->notify(); });
  }
  queue->sync([&queue] { queue.reset(); });
  if (releaser.joinable()) {
    releaser.join();
  }
  EXPECT_TRUE(weak_queue.expired());
}

INSTANTIATE_TEST_SUITE_P(cases, serial_queue_release_test,
                         testing::Values(release_case{"idle", false}, release_case{"busy", true}),
                         [](const auto& test_case) { return test_case.param.name; });

} // namespace

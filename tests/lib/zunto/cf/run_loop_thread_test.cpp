#include "support/perform_record.hpp"
#include "zunto/cf/run_loop_thread.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Built in a frame of its own, which is gone before the tests go on.
std::unique_ptr<zunto::cf::run_loop_thread> make_thread() { return std::make_unique<zunto::cf::run_loop_thread>(); }

} // namespace

TEST(run_loop_thread, a_block_enqueued_right_after_construction_runs_on_the_run_loop_thread) {
  zunto::cf::run_loop_thread thread;
  platform::cf::run_loop_ref seen_loop = nullptr;
  std::thread::id seen_thread;
  auto done = zunto::make_thread_wait();
  thread.enqueue([&, done] {
    seen_loop = platform::cf::run_loop_get_current();
    seen_thread = std::this_thread::get_id();
    done->notify();
  });
  done->wait_notice();
  thread.terminate();

  EXPECT_NE(thread.get_run_loop(), nullptr);
  EXPECT_EQ(seen_loop, thread.get_run_loop());
  EXPECT_NE(seen_thread, std::this_thread::get_id());
}

TEST(run_loop_thread, blocks_run_one_at_a_time_in_the_order_given) {
  zunto::cf::run_loop_thread thread;
  std::vector<int> order; // touched only by the blocks: they must never overlap
  auto done = zunto::make_thread_wait();
  for (int i = 0; i < 200; ++i) {
    thread.enqueue([&order, i] { order.push_back(i); });
  }
  thread.enqueue([done] { done->notify(); });
  done->wait_notice();
  thread.terminate();

  ASSERT_EQ(order.size(), 200u);
  for (std::size_t i = 0; i < 200; ++i) {
    EXPECT_EQ(order[i], static_cast<int>(i));
  }
}

TEST(run_loop_thread, an_added_source_performs_on_the_thread_until_it_is_removed) {
  zunto::cf::run_loop_thread thread;
  hbd_test::perform_record record;
  platform::cf::run_loop_source_ref source = platform::cf::run_loop_source_create(record.context());

  thread.add_source(source);
  EXPECT_TRUE(platform::cf::run_loop_contains_source(thread.get_run_loop(), source));
  platform::cf::run_loop_source_signal(source);
  platform::cf::run_loop_wake_up(thread.get_run_loop());
  record.performed->wait_notice();
  EXPECT_EQ(record.loop, thread.get_run_loop());

  thread.remove_source(source);
  EXPECT_FALSE(platform::cf::run_loop_contains_source(thread.get_run_loop(), source));

  thread.terminate(); // after the join the loop holds nothing of the source, not even while performing
  EXPECT_EQ(platform::cf::get_retain_count(source), 1);
  EXPECT_EQ(record.count, 1);
  platform::cf::release(source);
}

TEST(run_loop_thread, the_start_up_source_may_fire_again_after_the_constructor_returned) {
  auto thread = make_thread();
  for (platform::cf::run_loop_source_ref source : platform::cf::run_loop_copy_sources(thread->get_run_loop())) {
    platform::cf::run_loop_source_signal(source);
    platform::cf::release(source);
  }

  // The signal is served in the pass of the first block; the second block runs in the pass after.
  auto done = zunto::make_thread_wait();
  const platform::cf::run_loop_ref loop = thread->get_run_loop();
  thread->enqueue([loop, done] {
    platform::cf::run_loop_perform_block(loop, [done] { done->notify(); });
    platform::cf::run_loop_wake_up(loop);
  });
  done->wait_notice();
  thread->terminate();
}

TEST(run_loop_thread, terminate_may_be_called_again_and_later_blocks_never_run) {
  auto token = std::make_shared<int>(0);
  {
    zunto::cf::run_loop_thread thread;
    thread.terminate();
    thread.terminate();
    thread.enqueue([token] { ++*token; });
  }
  EXPECT_EQ(*token, 0);
  EXPECT_EQ(token.use_count(), 1); // the block went with the loop
}

TEST(run_loop_thread_death_test, destroying_a_thread_that_was_not_terminated_aborts) {
  EXPECT_DEATH({ zunto::cf::run_loop_thread thread; }, "destroyed without terminate");
}

#include "platform/cf/run_loop.hpp"
#include "support/perform_record.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// A thread that runs its loop with one idle source (so the run does not end at once) until stopped.
class loop_runner final {
public:
  loop_runner() {
    auto ready = zunto::make_thread_wait();
    thread_ = std::thread([this, ready] {
      loop_ = platform::cf::run_loop_get_current();
      platform::cf::retain(loop_);
      platform::cf::run_loop_add_source(loop_, keep_alive_);
      ready->notify();
      platform::cf::run_loop_run();
    });
    ready->wait_notice();
  }

  ~loop_runner() {
    stop();
    platform::cf::release(keep_alive_);
    platform::cf::release(loop_);
  }

  loop_runner(const loop_runner&) = delete;
  loop_runner& operator=(const loop_runner&) = delete;

  platform::cf::run_loop_ref loop() const { return loop_; }

  void stop() {
    if (thread_.joinable()) {
      platform::cf::run_loop_stop(loop_);
      thread_.join();
    }
  }

  // Returns once the loop sleeps; nothing but a wake-up or a stop gets it going again.
  void wait_until_waiting() const {
    while (!platform::cf::run_loop_is_waiting(loop_)) {
      std::this_thread::yield();
    }
  }

private:
  platform::cf::run_loop_source_ref keep_alive_ = platform::cf::run_loop_source_create({});
  platform::cf::run_loop_ref loop_ = nullptr;
  std::thread thread_;
};

} // namespace

TEST(platform_cf_run_loop, each_thread_has_its_own_loop) {
  const platform::cf::run_loop_ref here = platform::cf::run_loop_get_current();
  EXPECT_EQ(platform::cf::run_loop_get_current(), here);

  platform::cf::run_loop_ref there = nullptr;
  std::thread([&] { there = platform::cf::run_loop_get_current(); }).join();
  EXPECT_NE(there, nullptr);
  EXPECT_NE(there, here);
}

TEST(platform_cf_run_loop, a_run_with_nothing_to_serve_returns_at_once) {
  std::thread([] { platform::cf::run_loop_run(); }).join();
}

TEST(platform_cf_run_loop, a_stop_before_the_run_ends_the_next_run) {
  std::thread([] {
    const platform::cf::run_loop_ref loop = platform::cf::run_loop_get_current();
    const platform::cf::run_loop_source_ref source = platform::cf::run_loop_source_create({});
    platform::cf::run_loop_add_source(loop, source);
    platform::cf::run_loop_stop(loop);
    platform::cf::run_loop_run();
    platform::cf::run_loop_remove_source(loop, source);
    platform::cf::release(source);
  }).join();
}

TEST(platform_cf_run_loop, blocks_wait_for_a_wake_up_and_run_in_order_on_the_loop_thread) {
  loop_runner runner;
  runner.wait_until_waiting();

  std::vector<int> order;
  platform::cf::run_loop_ref seen = nullptr;
  auto done = zunto::make_thread_wait();
  for (int i = 0; i < 3; ++i) {
    platform::cf::run_loop_perform_block(runner.loop(), [&order, i] { order.push_back(i); });
  }
  platform::cf::run_loop_perform_block(runner.loop(), [&seen, done] {
    seen = platform::cf::run_loop_get_current();
    done->notify();
  });
  EXPECT_TRUE(platform::cf::run_loop_is_waiting(runner.loop())); // handing over did not wake it

  platform::cf::run_loop_wake_up(runner.loop());
  done->wait_notice();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(seen, runner.loop());
}

TEST(platform_cf_run_loop, a_signalled_source_performs_once_on_the_loop_thread) {
  loop_runner runner;
  hbd_test::perform_record record;
  platform::cf::run_loop_source_ref source = platform::cf::run_loop_source_create(record.context());
  platform::cf::run_loop_add_source(runner.loop(), source);
  runner.wait_until_waiting();

  platform::cf::run_loop_source_signal(source);
  platform::cf::run_loop_source_signal(source);
  platform::cf::run_loop_wake_up(runner.loop());
  record.performed->wait_notice();
  runner.stop();

  EXPECT_EQ(record.count, 1);
  EXPECT_EQ(record.loop, runner.loop());
  platform::cf::release(source);
}

TEST(platform_cf_run_loop, the_loop_retains_its_sources_until_they_are_removed) {
  loop_runner runner;
  platform::cf::run_loop_source_ref source = platform::cf::run_loop_source_create({});

  platform::cf::run_loop_add_source(runner.loop(), source);
  platform::cf::run_loop_add_source(runner.loop(), source);
  EXPECT_TRUE(platform::cf::run_loop_contains_source(runner.loop(), source));
  EXPECT_EQ(platform::cf::get_retain_count(source), 2);

  auto sources = platform::cf::run_loop_copy_sources(runner.loop());
  EXPECT_EQ(sources.size(), 2u); // the runner's own source and this one
  EXPECT_EQ(sources.back(), source);
  for (auto copied : sources) {
    platform::cf::release(copied);
  }

  platform::cf::run_loop_remove_source(runner.loop(), source);
  EXPECT_FALSE(platform::cf::run_loop_contains_source(runner.loop(), source));
  EXPECT_EQ(platform::cf::get_retain_count(source), 1);
  platform::cf::release(source);
}

TEST(platform_cf_run_loop, a_removed_source_is_not_performed) {
  loop_runner runner;
  hbd_test::perform_record removed_record;
  hbd_test::perform_record kept_record;
  platform::cf::run_loop_source_ref removed = platform::cf::run_loop_source_create(removed_record.context());
  platform::cf::run_loop_source_ref kept = platform::cf::run_loop_source_create(kept_record.context());
  platform::cf::run_loop_add_source(runner.loop(), removed);
  platform::cf::run_loop_add_source(runner.loop(), kept);
  platform::cf::run_loop_remove_source(runner.loop(), removed);

  platform::cf::run_loop_source_signal(removed);
  platform::cf::run_loop_source_signal(kept);
  platform::cf::run_loop_wake_up(runner.loop());
  kept_record.performed->wait_notice();
  runner.stop();

  EXPECT_EQ(removed_record.count, 0);
  platform::cf::release(removed);
  platform::cf::release(kept);
}

TEST(platform_cf_run_loop, blocks_left_when_the_loop_goes_are_destroyed_unrun) {
  auto token = std::make_shared<int>(0);
  std::thread([token] {
    platform::cf::run_loop_perform_block(platform::cf::run_loop_get_current(), [token] { ++*token; });
  }).join();
  EXPECT_EQ(*token, 0);
  EXPECT_EQ(token.use_count(), 1);
}

TEST(platform_cf_run_loop, null_arguments_are_ignored) {
  platform::cf::run_loop_stop(nullptr);
  platform::cf::run_loop_wake_up(nullptr);
  platform::cf::run_loop_perform_block(nullptr, [] {});
  platform::cf::run_loop_add_source(nullptr, nullptr);
  platform::cf::run_loop_remove_source(platform::cf::run_loop_get_current(), nullptr);
  platform::cf::run_loop_source_signal(nullptr);
  EXPECT_FALSE(platform::cf::run_loop_is_waiting(nullptr));
  EXPECT_FALSE(platform::cf::run_loop_contains_source(nullptr, nullptr));
  EXPECT_TRUE(platform::cf::run_loop_copy_sources(nullptr).empty());
}

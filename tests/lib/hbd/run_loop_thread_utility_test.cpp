#include "hbd/run_loop_thread_utility.hpp"
#include "zunto/cf/run_loop_thread/extra/shared_run_loop_thread.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

void expect_serves_blocks(const std::shared_ptr<zunto::cf::run_loop_thread>& thread) {
  ASSERT_NE(thread, nullptr);
  auto done = zunto::make_thread_wait();
  thread->enqueue([done] { done->notify(); });
  done->wait_notice();
}

} // namespace

TEST(scoped_run_loop_thread_manager, runs_both_threads_for_its_life) {
  using hbd::run_loop_thread_utility::get_power_management_run_loop_thread;
  using zunto::cf::run_loop_thread;

  EXPECT_EQ(get_power_management_run_loop_thread(), nullptr);
  std::shared_ptr<run_loop_thread> shared;
  std::shared_ptr<run_loop_thread> power_management;
  {
    hbd::run_loop_thread_utility::scoped_run_loop_thread_manager manager;
    shared = run_loop_thread::extra::get_shared_run_loop_thread();
    power_management = get_power_management_run_loop_thread();
    expect_serves_blocks(shared);
    expect_serves_blocks(power_management);
    EXPECT_NE(shared, power_management);
  }
  EXPECT_EQ(run_loop_thread::extra::get_shared_run_loop_thread(), nullptr);
  EXPECT_EQ(get_power_management_run_loop_thread(), nullptr);
  // Both were terminated by the manager, so dropping the last references does not abort.
  shared.reset();
  power_management.reset();
}

TEST(scoped_run_loop_thread_manager, a_second_manager_reuses_the_running_threads) {
  using hbd::run_loop_thread_utility::get_power_management_run_loop_thread;
  using zunto::cf::run_loop_thread;

  hbd::run_loop_thread_utility::scoped_run_loop_thread_manager outer;
  const auto shared = run_loop_thread::extra::get_shared_run_loop_thread();
  const auto power_management = get_power_management_run_loop_thread();
  {
    hbd::run_loop_thread_utility::scoped_run_loop_thread_manager inner;
    EXPECT_EQ(run_loop_thread::extra::get_shared_run_loop_thread(), shared);
    EXPECT_EQ(get_power_management_run_loop_thread(), power_management);
  }
  EXPECT_EQ(run_loop_thread::extra::get_shared_run_loop_thread(), nullptr);
  EXPECT_EQ(get_power_management_run_loop_thread(), nullptr);
}

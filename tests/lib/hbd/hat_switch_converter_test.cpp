#include "hbd/hat_switch_converter.hpp"

#include <gtest/gtest.h>

#include <latch>
#include <thread>
#include <vector>

using hbd::hat_switch_converter;

// First in the file, so that even a run of the whole binary in one process sees the first calls race.
TEST(hat_switch_converter, concurrent_first_calls_make_one_converter) {
  constexpr int thread_count = 8;
  std::latch start(thread_count);
  std::vector<hat_switch_converter*> seen(thread_count);
  std::vector<std::thread> threads;
  for (int i = 0; i < thread_count; ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      auto converter = hat_switch_converter::get_global_hat_switch_converter();
      converter->erase_device(zunto::osx::iokit_registry_entry_id::value_t{static_cast<std::uint64_t>(i)});
      seen[static_cast<std::size_t>(i)] = converter.get();
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  ASSERT_NE(seen[0], nullptr);
  for (auto* converter : seen) {
    EXPECT_EQ(converter, seen[0]);
  }
}

TEST(hat_switch_converter, every_call_shares_the_one_converter) {
  auto first = hat_switch_converter::get_global_hat_switch_converter();
  auto second = hat_switch_converter::get_global_hat_switch_converter();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  // Nothing is kept for an unknown device; erasing it changes nothing.
  first->erase_device(zunto::osx::iokit_registry_entry_id::value_t{42});
}

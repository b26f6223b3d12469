#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(thread_wait, releases_every_waiter_and_stays_notified) {
  auto wait = zunto::make_thread_wait();
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i) {
    waiters.emplace_back([wait] { wait->wait_notice(); });
  }
  wait->notify();
  for (auto& waiter : waiters) {
    waiter.join();
  }
  wait->wait_notice(); // already notified: returns at once
}

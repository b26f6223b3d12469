#include "hbd/dispatcher_utility/file_writer.hpp"

#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using hbd::dispatcher_utility::file_writer;

TEST(file_writer, runs_jobs_in_order_off_the_caller_thread) {
  file_writer writer;
  std::vector<int> order;
  std::thread::id job_thread;
  auto done = zunto::make_thread_wait();
  for (int i = 0; i < 3; ++i) {
    writer.enqueue([&, i] { order.push_back(i); });
  }
  writer.enqueue([&, done] {
    job_thread = std::this_thread::get_id();
    done->notify();
  });
  done->wait_notice();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_NE(job_thread, std::this_thread::get_id());
}

TEST(file_writer, destruction_runs_the_jobs_already_queued) {
  auto writer = std::make_unique<file_writer>();
  auto started = zunto::make_thread_wait();
  auto gate = zunto::make_thread_wait();
  writer->enqueue([started, gate] {
    started->notify();
    gate->wait_notice();
  });
  started->wait_notice();

  std::mutex mutex;
  std::vector<int> order;
  for (int i = 0; i < 3; ++i) {
    writer->enqueue([&, i] {
      std::lock_guard lock(mutex);
      order.push_back(i);
    });
  }
  std::thread destroyer([&] { writer.reset(); });
  gate->notify();
  destroyer.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

} // namespace

#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using zunto::dispatcher::time_point;
using zunto::dispatcher::extra::shared_dispatcher;

TEST(shared_dispatcher, initialize_once_and_terminate_drops_the_dispatcher) {
  auto shared = shared_dispatcher::get_shared_dispatcher();
  EXPECT_EQ(shared, shared_dispatcher::get_shared_dispatcher());
  EXPECT_EQ(shared->get_dispatcher(), nullptr);

  shared->initialize();
  auto first = shared->get_dispatcher();
  ASSERT_NE(first, nullptr);
  shared->initialize();
  EXPECT_EQ(shared->get_dispatcher(), first);
  EXPECT_NE(first->lock_weak_time_source(), nullptr);

  shared->terminate();
  EXPECT_EQ(shared->get_dispatcher(), nullptr);
  EXPECT_EQ(first->lock_weak_time_source(), nullptr); // the clock went with it
  shared->terminate();
}

TEST(shared_dispatcher, a_job_may_read_the_dispatcher_while_terminate_joins_it) {
  auto shared = shared_dispatcher::get_shared_dispatcher();
  shared->initialize();

  auto started = zunto::make_thread_wait();
  auto gate = zunto::make_thread_wait();
  std::atomic<bool> job_finished = false;
  {
    zunto::dispatcher::extra::dispatcher_client client(shared->get_dispatcher());
    client.enqueue_to_dispatcher(
        [&, started, gate] {
          started->notify();
          gate->wait_notice();
          shared->get_dispatcher(); // must not wait for terminate
          job_finished = true;
        },
        time_point(1));
    started->wait_notice();

    std::thread terminator([&] { shared->terminate(); });
    std::thread reader([&] {
      while (shared->get_dispatcher() != nullptr) {
        std::this_thread::yield();
      }
    });
    gate->notify();
    terminator.join();
    reader.join();
  }
  EXPECT_TRUE(job_finished);
}

} // namespace

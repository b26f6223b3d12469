#include "zunto/cf/run_loop_thread/extra/shared_run_loop_thread.hpp"

#include "support/watchdog.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using extra = zunto::cf::run_loop_thread::extra;

TEST(shared_run_loop_thread, lives_from_initialize_to_terminate) {
  EXPECT_EQ(extra::get_shared_run_loop_thread(), nullptr);
  EXPECT_EQ(extra::shared_run_loop_thread::get_shared_run_loop_thread(),
            extra::shared_run_loop_thread::get_shared_run_loop_thread());

  extra::initialize_shared_run_loop_thread();
  auto first = extra::get_shared_run_loop_thread();
  ASSERT_NE(first, nullptr);
  extra::initialize_shared_run_loop_thread();
  EXPECT_EQ(extra::get_shared_run_loop_thread(), first);

  auto done = zunto::make_thread_wait();
  first->enqueue([done] { done->notify(); });
  done->wait_notice();

  extra::terminate_shared_run_loop_thread();
  EXPECT_EQ(extra::get_shared_run_loop_thread(), nullptr);
  extra::terminate_shared_run_loop_thread();
  first.reset(); // was terminated by the holder, so this does not abort

  extra::initialize_shared_run_loop_thread();
  EXPECT_NE(extra::get_shared_run_loop_thread(), nullptr);
  extra::terminate_shared_run_loop_thread();
}

// Readers take the holder's lock, so they never see the pointer half replaced.
TEST(shared_run_loop_thread, may_be_read_while_another_thread_initializes_and_terminates) {
  std::atomic<bool> finished{false};
  std::vector<std::thread> readers;
  for (int i = 0; i < 2; ++i) {
    readers.emplace_back([&finished] {
      while (!finished) {
        if (auto thread = extra::get_shared_run_loop_thread()) {
          EXPECT_NE(thread->get_run_loop(), nullptr);
        }
      }
    });
  }
  for (int i = 0; i < 10; ++i) {
    extra::initialize_shared_run_loop_thread();
    extra::terminate_shared_run_loop_thread();
  }
  finished = true;
  for (auto& reader : readers) {
    reader.join();
  }
  EXPECT_EQ(extra::get_shared_run_loop_thread(), nullptr);
}

TEST(shared_run_loop_thread, a_block_may_read_the_holder_while_terminate_joins_its_thread) {
  extra::initialize_shared_run_loop_thread();
  auto thread = extra::get_shared_run_loop_thread();
  auto started = zunto::make_thread_wait();
  std::atomic<bool> saw_it_empty{false};
  thread->enqueue([started, &saw_it_empty] {
    started->notify();
    // Terminate empties the holder before it waits for this thread, which runs this block to its end first.
    while (extra::get_shared_run_loop_thread() != nullptr) {
      std::this_thread::yield();
    }
    saw_it_empty = true;
  });
  started->wait_notice();
  {
    hbd_test::watchdog watchdog("terminate while a block on the thread reads the holder");
    extra::terminate_shared_run_loop_thread();
  }
  EXPECT_TRUE(saw_it_empty);
}

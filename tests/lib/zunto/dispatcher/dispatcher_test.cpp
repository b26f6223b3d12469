#include "zunto/dispatcher/dispatcher.hpp"

#include "support/fake_time_source.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using zunto::dispatcher::object_id;
using zunto::dispatcher::time_point;

class dispatcher_test : public testing::Test {
protected:
  // Holds the worker in a job of `owner` until the returned wait is notified.
  std::shared_ptr<zunto::thread_wait> block_worker(const object_id& client) {
    auto started = zunto::make_thread_wait();
    auto gate = zunto::make_thread_wait();
    dispatcher->enqueue(
        client,
        [started, gate] {
          started->notify();
          gate->wait_notice();
        },
        time_point(1));
    started->wait_notice();
    return gate;
  }

  // Waits for a job queued now at `when`.
  void run_until(const object_id& client, time_point when) {
    auto done = zunto::make_thread_wait();
    dispatcher->enqueue(
        client, [done] { done->notify(); }, when);
    done->wait_notice();
  }

  std::function<void()> record(int label) {
    return [this, label] {
      std::lock_guard lock(mutex);
      order.push_back(label);
    };
  }

  std::vector<int> recorded() {
    std::lock_guard lock(mutex);
    return order;
  }

  std::shared_ptr<hbd_test::fake_time_source> clock = std::make_shared<hbd_test::fake_time_source>(1000);
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(clock);
  object_id owner;
  std::mutex mutex;
  std::vector<int> order;
};

struct ordering_case {
  std::string name;
  std::vector<std::int64_t> due; // queued in this order, all due by the clock's 1000
  std::vector<int> expected;     // indexes into due, in running order
};

void PrintTo(const ordering_case& c, std::ostream* os) { *os << c.name; }

class dispatcher_ordering_test : public dispatcher_test, public testing::WithParamInterface<ordering_case> {};

TEST_P(dispatcher_ordering_test, runs_due_entries_in_queue_order) {
  dispatcher->attach(owner);
  auto gate = block_worker(owner);
  const auto& due = GetParam().due;
  for (std::size_t i = 0; i < due.size(); ++i) {
    dispatcher->enqueue(owner, record(static_cast<int>(i)), time_point(due[i]));
  }
  gate->notify();
  run_until(owner, time_point(1000));
  EXPECT_EQ(recorded(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    cases, dispatcher_ordering_test,
    testing::Values(ordering_case{"equal_time_points_in_queuing_order", {700, 700, 700}, {0, 1, 2}},
                    ordering_case{"zero_newest_first_ahead_of_everything", {1, 0, 500, 0}, {3, 1, 0, 2}},
                    ordering_case{"one_behind_every_entry_due_at_one",
                                  {500, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                                  {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0}},
                    ordering_case{
                        "past_time_point_after_every_entry_due_by_then", {1, 300, 800, 500, 300}, {0, 1, 4, 3, 2}}),
    [](const auto& test_case) { return test_case.param.name; });

TEST_F(dispatcher_test, two_jobs_queued_at_once_go_where_two_calls_would_put_them) {
  dispatcher->attach(owner);
  auto gate = block_worker(owner);
  dispatcher->enqueue(owner, record(0), time_point(1));
  dispatcher->enqueue(owner, record(1), time_point(1), record(2), time_point(0));
  dispatcher->enqueue(owner, nullptr, time_point(1), record(3), time_point(1)); // an empty job is left out
  // Off the worker nothing is held.
  dispatcher->enqueue_at_job_end(owner, record(4), time_point(1), record(5), time_point(0));
  gate->notify();
  run_until(owner, time_point(1));
  EXPECT_EQ(recorded(), (std::vector<int>{5, 2, 0, 1, 3, 4}));
}

struct job_end_case {
  std::string name;
  // What the job does on the worker after queuing 1 and 2 for `owner` at its end.
  std::function<void(zunto::dispatcher::dispatcher&, const object_id& owner, std::function<void()> record_3)> then;
  std::vector<int> expected;
};

void PrintTo(const job_end_case& c, std::ostream* os) { *os << c.name; }

class dispatcher_job_end_test : public dispatcher_test, public testing::WithParamInterface<job_end_case> {};

TEST_P(dispatcher_job_end_test, held_jobs_go_where_two_calls_would_have_put_them) {
  object_id other;
  dispatcher->attach(owner);
  dispatcher->attach(other);
  auto gate = block_worker(other);
  dispatcher->enqueue(
      other,
      [this] {
        dispatcher->enqueue_at_job_end(owner, record(1), time_point(1), record(2), time_point(1));
        GetParam().then(*dispatcher, owner, record(3));
      },
      time_point(1));
  dispatcher->enqueue(other, record(0), time_point(1)); // queued before the held jobs: runs first
  gate->notify();
  run_until(other, time_point(1));
  run_until(other, time_point(1)); // the first may have been queued before the job placed its jobs
  EXPECT_EQ(recorded(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    cases, dispatcher_job_end_test,
    testing::Values(job_end_case{"as_the_last_act", [](auto&, auto&, auto) {}, {0, 1, 2}},
                    job_end_case{"ahead_of_a_later_job_queued_on_the_worker",
                                 [](auto& d, auto& owner, auto record_3) { d.enqueue(owner, record_3, time_point(1)); },
                                 {0, 1, 2, 3}},
                    job_end_case{"dropped_by_a_detach_on_the_worker",
                                 [](auto& d, auto& owner, auto) {
                                   d.detach(owner);
                                   d.attach(owner); // attached again, as the held jobs were dropped already
                                 },
                                 {0}}),
    [](const auto& test_case) { return test_case.param.name; });

TEST_F(dispatcher_test, held_jobs_of_an_owner_detached_from_another_thread_meanwhile_are_dropped) {
  dispatcher->attach(owner);
  auto held = zunto::make_thread_wait();
  auto gate = zunto::make_thread_wait();
  auto token = std::make_shared<int>(0); // its count tells whether the held jobs still exist
  dispatcher->enqueue(
      owner,
      [this, held, gate, token] {
        dispatcher->enqueue_at_job_end(
            owner, [this, token] { record(1)(); }, time_point(1), record(2), time_point(1));
        held->notify();
        gate->wait_notice();
      },
      time_point(1));
  held->wait_notice();
  // Holds the worker after the job, so that a held job placed in the queue would still be there.
  object_id other;
  dispatcher->attach(other);
  auto after_gate = zunto::make_thread_wait();
  dispatcher->enqueue(
      other, [after_gate] { after_gate->wait_notice(); }, time_point(1));

  std::thread detacher([this, &token] {
    EXPECT_TRUE(dispatcher->detach(owner));
    EXPECT_EQ(token.use_count(), 1); // no job of the owner is left queued
  });
  while (dispatcher->attached(owner)) {
    std::this_thread::yield();
  }
  gate->notify();
  detacher.join();
  after_gate->notify();
  run_until(other, time_point(1));
  EXPECT_TRUE(recorded().empty());
}

struct step_back_case {
  std::string name;
  // Queues `job` due at 1500 once the clock has gone back from 2000 to 1000.
  std::function<void(zunto::dispatcher::dispatcher&, const object_id& owner, std::function<void()> job)> queue;
};

void PrintTo(const step_back_case& c, std::ostream* os) { *os << c.name; }

class dispatcher_step_back_test : public dispatcher_test, public testing::WithParamInterface<step_back_case> {};

TEST_P(dispatcher_step_back_test, entry_queued_after_the_clock_goes_back_waits_for_the_clock_to_show_its_time) {
  dispatcher->attach(owner);
  clock->set(2000);
  run_until(owner, time_point(2000)); // the worker has read 2000
  clock->set(1000);
  std::atomic<std::int64_t> ran_at = 0;
  GetParam().queue(*dispatcher, owner, [this, &ran_at] { ran_at = clock->now().count(); });
  // The worker reads the clock to judge the entry, and again after each wait; run early, the entry
  // reads it itself.
  const auto reads = clock->reads();
  while (clock->reads() == reads && ran_at == 0) {
    std::this_thread::yield();
  }
  clock->set(1500);
  run_until(owner, time_point(1500)); // behind the entry
  EXPECT_EQ(ran_at, 1500);
}

INSTANTIATE_TEST_SUITE_P(
    cases, dispatcher_step_back_test,
    testing::Values(step_back_case{"from_another_thread",
                                   [](auto& d, auto& owner, auto job) { d.enqueue(owner, job, time_point(1500)); }},
                    step_back_case{"by_a_job_from_its_reading_of_the_clock",
                                   [](auto& d, auto& owner, auto job) {
                                     auto queued = zunto::make_thread_wait();
                                     d.enqueue(
                                         owner,
                                         [&d, &owner, job, queued] {
                                           d.enqueue(owner, job, d.now() + std::chrono::milliseconds(500));
                                           queued->notify();
                                         },
                                         time_point(1));
                                     queued->wait_notice();
                                   }}),
    [](const auto& test_case) { return test_case.param.name; });

TEST_F(dispatcher_test, entry_due_later_waits_for_the_clock) {
  dispatcher->attach(owner);
  dispatcher->enqueue(owner, record(3), time_point(2000));
  run_until(owner, time_point(1)); // the worker now waits for 2000
  dispatcher->enqueue(owner, record(1), time_point(1));
  run_until(owner, time_point(1));
  auto gate = block_worker(owner); // so that 2 is queued before the worker sees the new time
  clock->set(2000);
  dispatcher->enqueue(owner, record(2), time_point(1));
  gate->notify();
  run_until(owner, time_point(2000));
  EXPECT_EQ(recorded(), (std::vector<int>{1, 2, 3}));
}

TEST_F(dispatcher_test, vanished_clock_counts_as_one) {
  dispatcher->attach(owner);
  clock.reset();
  EXPECT_EQ(dispatcher->lock_weak_time_source(), nullptr);
  auto gate = block_worker(owner);
  dispatcher->enqueue(owner, record(1), time_point(1));
  dispatcher->enqueue(owner, record(2), time_point(1));
  dispatcher->enqueue(owner, record(0), time_point(0));
  gate->notify();
  run_until(owner, time_point(1));
  EXPECT_EQ(recorded(), (std::vector<int>{0, 1, 2}));
}

TEST_F(dispatcher_test, job_of_an_owner_not_attached_is_skipped) {
  object_id never_attached;
  object_id other;
  dispatcher->attach(owner);
  dispatcher->attach(other);
  auto gate = block_worker(other);
  dispatcher->enqueue(never_attached, record(1), time_point(1));
  dispatcher->enqueue(owner, record(2), time_point(1));
  EXPECT_TRUE(dispatcher->detach(owner));
  dispatcher->enqueue(owner, record(3), time_point(1));
  dispatcher->enqueue(other, record(4), time_point(1));
  gate->notify();
  run_until(other, time_point(1));
  EXPECT_EQ(recorded(), std::vector<int>{4});
}

TEST_F(dispatcher_test, detach_of_an_id_never_attached_does_nothing) {
  object_id never_attached;
  EXPECT_FALSE(dispatcher->attached(never_attached));
  EXPECT_FALSE(dispatcher->detach(never_attached));
  bool called = false;
  dispatcher->detach(never_attached, [&] { called = true; });
  EXPECT_FALSE(called);
}

TEST_F(dispatcher_test, detach_from_another_thread_waits_for_the_running_job) {
  dispatcher->attach(owner);
  std::atomic<bool> detach_returned = false;
  std::atomic<bool> returned_while_running = true;
  auto started = zunto::make_thread_wait();
  auto gate = zunto::make_thread_wait();
  dispatcher->enqueue(
      owner,
      [&, started, gate] {
        started->notify();
        gate->wait_notice();
        returned_while_running = detach_returned.load();
      },
      time_point(1));
  dispatcher->enqueue(owner, record(1), time_point(1));
  started->wait_notice();

  std::thread detacher([&] {
    EXPECT_TRUE(dispatcher->detach(owner));
    detach_returned = true;
  });
  while (dispatcher->attached(owner)) {
    std::this_thread::yield();
  }
  gate->notify();
  detacher.join();

  EXPECT_FALSE(returned_while_running);
  object_id other;
  dispatcher->attach(other);
  run_until(other, time_point(1));
  EXPECT_TRUE(recorded().empty());
}

TEST_F(dispatcher_test, detach_inside_own_job_returns_at_once) {
  dispatcher->attach(owner);
  dispatcher->enqueue(
      owner,
      [this] {
        EXPECT_TRUE(dispatcher->detach(owner));
        record(1)();
      },
      time_point(1));
  dispatcher->enqueue(owner, record(2), time_point(1));
  object_id other;
  dispatcher->attach(other);
  run_until(other, time_point(1));
  EXPECT_EQ(recorded(), std::vector<int>{1});
}

TEST_F(dispatcher_test, detach_with_function_runs_it_on_the_worker_first) {
  dispatcher->attach(owner);
  object_id other;
  dispatcher->attach(other);
  dispatcher->enqueue(owner, record(1), time_point(1001)); // the owner's: dropped
  dispatcher->enqueue(other, record(2), time_point(1001));
  run_until(other, time_point(1));

  bool on_worker = false;
  dispatcher->detach(owner, [&] {
    on_worker = dispatcher->dispatcher_thread();
    record(0)();
  });
  EXPECT_TRUE(on_worker);
  EXPECT_EQ(recorded(), std::vector<int>{0});
  EXPECT_FALSE(dispatcher->attached(owner));

  clock->set(1001);
  run_until(other, time_point(1001));
  EXPECT_EQ(recorded(), (std::vector<int>{0, 2}));
}

TEST_F(dispatcher_test, detach_with_function_inside_a_job_calls_it_directly) {
  dispatcher->attach(owner);
  object_id other;
  dispatcher->attach(other);
  dispatcher->enqueue(
      other,
      [this] {
        dispatcher->detach(owner, record(1));
        record(2)();
      },
      time_point(1));
  run_until(other, time_point(1));
  EXPECT_EQ(recorded(), (std::vector<int>{1, 2}));
}

TEST_F(dispatcher_test, detach_with_function_on_a_terminated_dispatcher_does_not_call_it) {
  dispatcher->attach(owner);
  dispatcher->terminate();
  bool called = false;
  dispatcher->detach(owner, [&] { called = true; });
  EXPECT_FALSE(called);
  EXPECT_FALSE(dispatcher->attached(owner));
}

TEST_F(dispatcher_test, detach_with_function_waiting_behind_a_job_is_released_by_terminate) {
  dispatcher->attach(owner);
  object_id other;
  dispatcher->attach(other);
  auto gate = block_worker(other);

  std::atomic<int> calls = 0;
  std::thread detacher([&] { dispatcher->detach(owner, [&] { ++calls; }); });
  std::thread terminator([&] { dispatcher->terminate(); });
  gate->notify();
  terminator.join();
  detacher.join(); // must not hang, whichever of the two came first
  EXPECT_LE(calls, 1);
}

TEST_F(dispatcher_test, terminate_twice_and_use_afterwards) {
  dispatcher->attach(owner);
  dispatcher->terminate();
  dispatcher->terminate();
  dispatcher->enqueue(owner, record(1), time_point(1)); // accepted, never run
  EXPECT_TRUE(dispatcher->attached(owner));
  EXPECT_TRUE(dispatcher->detach(owner));
  EXPECT_FALSE(dispatcher->attached(owner));
  dispatcher.reset();
  EXPECT_TRUE(recorded().empty());
}

TEST_F(dispatcher_test, terminate_again_from_a_thread_made_after_the_join_returns) {
  dispatcher->terminate();
  // The C library hands a joined thread's id to the next thread it makes, so this thread most
  // likely has the old worker's id; it is still not the worker.
  std::thread([this] {
    EXPECT_FALSE(dispatcher->dispatcher_thread());
    dispatcher->terminate();
  }).join();
}

TEST_F(dispatcher_test, dispatcher_thread_is_true_only_on_the_worker) {
  dispatcher->attach(owner);
  EXPECT_FALSE(dispatcher->dispatcher_thread());
  bool on_worker = false;
  auto done = zunto::make_thread_wait();
  dispatcher->enqueue(
      owner,
      [&, done] {
        on_worker = dispatcher->dispatcher_thread();
        done->notify();
      },
      time_point(1));
  done->wait_notice();
  EXPECT_TRUE(on_worker);
}

using dispatcher_death_test = dispatcher_test;

TEST_F(dispatcher_death_test, terminate_on_the_worker_thread_aborts) {
  EXPECT_DEATH(
      {
        dispatcher->attach(owner);
        auto done = zunto::make_thread_wait();
        dispatcher->enqueue(
            owner, [this] { dispatcher->terminate(); }, time_point(1));
        done->wait_notice();
      },
      "terminate is called on the dispatcher thread");
}

} // namespace

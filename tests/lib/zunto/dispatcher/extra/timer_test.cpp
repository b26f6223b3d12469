#include "zunto/dispatcher/extra/timer.hpp"

#include "support/fake_time_source.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using zunto::dispatcher::time_point;
using zunto::dispatcher::extra::dispatcher_client;
using zunto::dispatcher::extra::timer;

// Owns its timer the way every client does: it detaches, stopping the timer, before the timer goes.
class timer_owner final : public dispatcher_client {
public:
  explicit timer_owner(std::weak_ptr<zunto::dispatcher::dispatcher> weak_dispatcher)
      : dispatcher_client(std::move(weak_dispatcher)) {}

  ~timer_owner() override {
    detach_from_dispatcher([this] { timer_.stop(); });
  }

  timer timer_{*this};
};

class timer_test : public testing::Test {
protected:
  // Runs every job due by `when`, including those they queue due at once.
  void run_due_by(time_point when) {
    auto done = zunto::make_thread_wait();
    owner.enqueue_to_dispatcher([done] { done->notify(); }, when);
    done->wait_notice();
  }

  // Runs every job due by the clock's current time.
  void run_due() { run_due_by(clock->now()); }

  void advance(std::int64_t milliseconds) {
    clock->advance(milliseconds);
    run_due();
  }

  std::function<void()> record(const std::string& label) {
    return [this, label] {
      std::lock_guard lock(mutex);
      calls.push_back(label);
    };
  }

  std::vector<std::string> recorded() {
    std::lock_guard lock(mutex);
    return calls;
  }

  std::shared_ptr<hbd_test::fake_time_source> clock = std::make_shared<hbd_test::fake_time_source>(1000);
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(clock);
  timer_owner owner{dispatcher};
  std::mutex mutex;
  std::vector<std::string> calls;
};

TEST_F(timer_test, calls_at_once_then_every_interval_after_the_tick) {
  owner.timer_.start(record("f"), 100ms);
  EXPECT_TRUE(owner.timer_.enabled());
  run_due();
  EXPECT_EQ(recorded().size(), 1u);
  advance(99);
  EXPECT_EQ(recorded().size(), 1u);
  advance(1);
  EXPECT_EQ(recorded().size(), 2u);
  advance(250); // a late tick schedules the next one from when it ran
  EXPECT_EQ(recorded().size(), 3u);
  advance(99);
  EXPECT_EQ(recorded().size(), 3u);
  advance(1);
  EXPECT_EQ(recorded().size(), 4u);
}

TEST_F(timer_test, second_start_replaces_the_first) {
  auto started = zunto::make_thread_wait();
  auto gate = zunto::make_thread_wait();
  owner.enqueue_to_dispatcher(
      [started, gate] {
        started->notify();
        gate->wait_notice();
      },
      time_point(1));
  started->wait_notice();
  owner.timer_.start(record("f1"), 100ms);
  owner.timer_.start(record("f2"), 100ms);
  gate->notify();
  run_due();
  EXPECT_EQ(recorded(), (std::vector<std::string>{"f1", "f2"}));
  advance(100);
  advance(100);
  EXPECT_EQ(recorded(), (std::vector<std::string>{"f1", "f2", "f2", "f2"}));
}

TEST_F(timer_test, stop_right_after_start_lets_one_call_through) {
  owner.timer_.start(record("f"), 100ms);
  owner.timer_.stop();
  EXPECT_FALSE(owner.timer_.enabled());
  run_due();
  advance(100);
  advance(1000);
  EXPECT_EQ(recorded().size(), 1u);
}

TEST_F(timer_test, start_after_stop_runs_again) {
  owner.timer_.start(record("f1"), 100ms);
  run_due();
  owner.timer_.stop();
  owner.timer_.start(record("f2"), 100ms);
  run_due();
  advance(100);
  EXPECT_EQ(recorded(), (std::vector<std::string>{"f1", "f2", "f2"}));
}

TEST_F(timer_test, interval_zero_interleaves_with_other_due_jobs_until_stopped) {
  constexpr int wanted_calls = 10;
  int timer_calls = 0;   // touched only on the worker
  bool stopping = false; // likewise
  std::function<void()> job = [&] {
    record("job")();
    if (!stopping) {
      owner.enqueue_to_dispatcher(job, owner.when_now()); // queues itself again, as the timer does
    }
  };

  auto started = zunto::make_thread_wait();
  auto gate = zunto::make_thread_wait();
  owner.enqueue_to_dispatcher(
      [started, gate] {
        started->notify();
        gate->wait_notice();
      },
      time_point(1));
  started->wait_notice();
  owner.timer_.start(
      [&] {
        record("timer")();
        if (++timer_calls == wanted_calls) {
          stopping = true;
          owner.timer_.stop();
        }
      },
      0ms);
  owner.enqueue_to_dispatcher(job, time_point(1));
  gate->notify();

  // The clock never moves here: interval 0 keeps the timer due, behind every job already due.
  while (true) {
    run_due();
    auto trace = recorded();
    if (std::count(trace.begin(), trace.end(), "timer") == wanted_calls) {
      break;
    }
  }
  run_due();

  std::vector<std::string> expected{"job", "timer", "timer"};
  for (int i = 2; i < wanted_calls; ++i) {
    expected.insert(expected.end(), {"job", "timer"});
  }
  expected.push_back("job"); // the last pass, which sees the stop
  EXPECT_EQ(recorded(), expected);
}

struct clock_step_case {
  std::string name;
  // Takes the clock, which the worker has seen at 61000, to 1000 or away.
  std::function<void(std::shared_ptr<hbd_test::fake_time_source>&)> step;
};

void PrintTo(const clock_step_case& c, std::ostream* os) { *os << c.name; }

class timer_clock_step_test : public timer_test, public testing::WithParamInterface<clock_step_case> {};

TEST_P(timer_clock_step_test, next_tick_waits_an_interval_from_the_clock_it_reads) {
  clock->set(61000);
  run_due(); // the worker has read 61000
  GetParam().step(clock);

  std::atomic<int> ticks = 0;
  owner.timer_.start([&] { ++ticks; }, 1s);
  // Polled rather than notified: a wake-up could hand this thread the worker's processor just when
  // the worker would run a next tick that it counted due by the minute-old reading.
  while (ticks == 0) {
    std::this_thread::yield();
  }
  run_due_by(time_point(1));
  run_due_by(time_point(1)); // a next tick counted due by the old reading would have run by now
  EXPECT_EQ(ticks, 1);

  if (clock) {
    clock->advance(1000);
    run_due();
    EXPECT_EQ(ticks, 2);
  }
}

INSTANTIATE_TEST_SUITE_P(cases, timer_clock_step_test,
                         testing::Values(clock_step_case{"clock_one_minute_back", [](auto& c) { c->set(1000); }},
                                         clock_step_case{"clock_gone", [](auto& c) { c.reset(); }}),
                         [](const auto& test_case) { return test_case.param.name; });

// Interval-0 ticks against other threads: each test below races them on purpose.
TEST_F(timer_test, jobs_from_another_thread_wait_behind_at_most_two_calls) {
  std::atomic<int> timer_calls = 0;
  owner.timer_.start([&] { ++timer_calls; }, 0ms);

  constexpr int jobs = 200;
  std::vector<int> waited(jobs, 0); // written by job i on the worker, read after the last ran
  auto done = zunto::make_thread_wait();
  std::thread poster([&] {
    for (int i = 0; i < jobs; ++i) {
      auto calls_then = std::make_shared<std::atomic<int>>(-1);
      owner.enqueue_to_dispatcher(
          [&, i, calls_then] {
            if (const int then = *calls_then; then >= 0) { // else it ran before the poster looked
              waited[static_cast<std::size_t>(i)] = timer_calls - then;
            }
            record(std::to_string(i))();
            if (i + 1 == jobs) {
              done->notify();
            }
          },
          time_point(1));
      // Read after the job was placed: one call may be queued ahead of it, one may be running.
      *calls_then = timer_calls.load();
    }
  });
  poster.join();
  done->wait_notice();
  owner.timer_.stop();
  run_due();

  std::vector<std::string> expected;
  for (int i = 0; i < jobs; ++i) {
    expected.push_back(std::to_string(i));
    EXPECT_LE(waited[static_cast<std::size_t>(i)], 2) << "job " << i;
  }
  EXPECT_EQ(recorded(), expected);
}

TEST_F(timer_test, detach_while_ticking_ends_every_call) {
  for (int round = 0; round < 50; ++round) {
    std::atomic<int> ticks = 0;
    {
      timer_owner ticking(dispatcher);
      ticking.timer_.start([&] { ++ticks; }, 0ms);
      while (ticks < round % 5 + 1) {
        std::this_thread::yield();
      }
      ticking.detach_from_dispatcher(); // races a tick that is holding its call and next tick
      const int ticks_at_detach = ticks;
      run_due();
      EXPECT_EQ(ticks, ticks_at_detach) << "round " << round;
    }
  }
}

TEST_F(timer_test, stop_and_start_from_other_threads_while_ticking) {
  std::atomic<int> ticks = 0;
  owner.timer_.start([&] { ++ticks; }, 0ms);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 100; ++i) {
        owner.timer_.stop();
        owner.timer_.start([&] { ++ticks; }, 0ms);
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  owner.timer_.stop();
  run_due(); // the stop's job has run; a call queued before it may still follow once
  run_due();
  const int ticks_after_stop = ticks;
  run_due();
  EXPECT_EQ(ticks, ticks_after_stop);
  EXPECT_FALSE(owner.timer_.enabled());
}

using timer_death_test = timer_test;

TEST_F(timer_death_test, destroying_a_timer_whose_owner_is_attached_aborts) {
  EXPECT_DEATH(
      {
        dispatcher_client other(dispatcher);
        timer t(other);
      },
      "timer is destroyed while its owner is attached");
}

} // namespace

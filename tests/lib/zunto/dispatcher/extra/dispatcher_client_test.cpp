#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include "support/fake_time_source.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using zunto::dispatcher::time_point;
using zunto::dispatcher::extra::dispatcher_client;

class dispatcher_client_test : public testing::Test {
protected:
  void run_pending(const dispatcher_client& client) {
    auto done = zunto::make_thread_wait();
    client.enqueue_to_dispatcher([done] { done->notify(); }, time_point(1));
    done->wait_notice();
  }

  std::shared_ptr<hbd_test::fake_time_source> clock = std::make_shared<hbd_test::fake_time_source>(1000);
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(clock);
};

TEST_F(dispatcher_client_test, attached_client_runs_jobs_until_it_detaches) {
  dispatcher_client client(dispatcher);
  EXPECT_TRUE(client.attached());
  EXPECT_EQ(client.when_now(), time_point(1000));

  int runs = 0;
  client.enqueue_to_dispatcher([&] { ++runs; }, time_point(1));
  run_pending(client);
  EXPECT_EQ(runs, 1);

  bool on_worker = false;
  client.detach_from_dispatcher([&] { on_worker = dispatcher->dispatcher_thread(); });
  EXPECT_TRUE(on_worker);
  EXPECT_FALSE(client.attached());

  client.enqueue_to_dispatcher([&] { ++runs; }, time_point(1));
  dispatcher_client witness(dispatcher);
  run_pending(witness);
  witness.detach_from_dispatcher();
  EXPECT_EQ(runs, 1);
}

TEST_F(dispatcher_client_test, now_and_after_queues_as_two_calls_would) {
  dispatcher_client client(dispatcher);
  std::vector<std::string> order; // touched only on the worker until the last job has run
  const auto record = [&](std::string label) { return [&order, label] { order.push_back(label); }; };

  // Queued from one job, so that every entry is in place before any of them runs.
  auto queued = zunto::make_thread_wait();
  client.enqueue_to_dispatcher(
      [&] {
        client.enqueue_to_dispatcher(record("due at 1009"), time_point(1009));
        client.enqueue_to_dispatcher(record("due at 1010"), time_point(1010));
        client.enqueue_now_and_after_at_job_end(record("now"), record("10 after the clock"),
                                                std::chrono::milliseconds(10));
        client.enqueue_to_dispatcher(record("at once"), time_point(1));
        client.enqueue_to_dispatcher(record("due at 1011"), time_point(1011));
        queued->notify();
      },
      time_point(1));
  queued->wait_notice();
  clock->set(1011);
  auto done = zunto::make_thread_wait();
  client.enqueue_to_dispatcher([done] { done->notify(); }, time_point(1011));
  done->wait_notice();

  EXPECT_EQ(order, (std::vector<std::string>{"now", "at once", "due at 1009", "due at 1010", "10 after the clock",
                                             "due at 1011"}));
  client.detach_from_dispatcher();
}

TEST_F(dispatcher_client_test, client_outliving_its_dispatcher) {
  dispatcher_client client(dispatcher);
  client.detach_from_dispatcher();
  dispatcher->terminate();
  dispatcher.reset();

  EXPECT_EQ(client.when_now(), time_point(1));
  EXPECT_FALSE(client.attached());
  client.enqueue_to_dispatcher([] { FAIL() << "ran without a dispatcher"; }, time_point(1));
  bool called = false;
  client.detach_from_dispatcher([&] { called = true; });
  EXPECT_FALSE(called);
}

TEST_F(dispatcher_client_test, when_now_is_one_once_the_clock_is_gone) {
  dispatcher_client client(dispatcher);
  clock.reset();
  EXPECT_EQ(client.when_now(), time_point(1));
  client.detach_from_dispatcher();
}

TEST_F(dispatcher_client_test, client_built_after_the_dispatcher_went_is_never_attached) {
  std::weak_ptr<zunto::dispatcher::dispatcher> gone = dispatcher;
  dispatcher.reset();
  dispatcher_client client(gone);
  EXPECT_FALSE(client.attached());
  EXPECT_EQ(client.when_now(), time_point(1));
  client.enqueue_to_dispatcher([] { FAIL() << "ran without a dispatcher"; }, time_point(1));
  // Its destructor must not abort.
}

using dispatcher_client_death_test = dispatcher_client_test;

TEST_F(dispatcher_client_death_test, destroying_an_attached_client_aborts) {
  EXPECT_DEATH({ dispatcher_client client(dispatcher); }, "dispatcher_client is destroyed while attached");
}

} // namespace

// Jobs handed from one thread to the dispatcher's worker, against the same jobs posted to an
// asio::io_context run by one thread; and the interval-0 timer's tick rate against a job that
// queues itself again.

#include "support/ratio.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/timer.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/thread_wait.hpp"

#include <asio.hpp>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

namespace {

using zunto::dispatcher::time_point;

// Shared by every job of one batch; the jobs capture only a pointer to it, as small jobs do.
struct batch {
  std::int64_t size = 0;
  std::int64_t done_count = 0; // touched only on the running thread
  std::shared_ptr<zunto::thread_wait> done = zunto::make_thread_wait();

  // The last job releases the waiting thread, which then destroys this batch: nothing of it may be
  // touched after that, not even the wait being notified.
  void job() {
    if (++done_count == size) {
      auto last = done;
      last->notify();
    }
  }
};

void dispatcher_enqueue(benchmark::State& state) {
  auto clock = std::make_shared<zunto::dispatcher::hardware_time_source>();
  auto dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(clock);
  zunto::dispatcher::object_id id;
  dispatcher->attach(id);

  for (auto _ : state) {
    batch b{state.range(0)};
    for (std::int64_t i = 0; i < b.size; ++i) {
      dispatcher->enqueue(
          id, [p = &b] { p->job(); }, time_point(1));
    }
    b.done->wait_notice();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));

  dispatcher->detach(id);
  dispatcher->terminate();
}

void asio_post(benchmark::State& state) {
  asio::io_context io_context;
  auto work = asio::make_work_guard(io_context);
  std::thread runner([&] { io_context.run(); });

  for (auto _ : state) {
    batch b{state.range(0)};
    for (std::int64_t i = 0; i < b.size; ++i) {
      asio::post(io_context, [p = &b] { p->job(); });
    }
    b.done->wait_notice();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));

  work.reset();
  runner.join();
}

class ticking_client final : public zunto::dispatcher::extra::dispatcher_client {
public:
  explicit ticking_client(std::weak_ptr<zunto::dispatcher::dispatcher> weak_dispatcher)
      : dispatcher_client(std::move(weak_dispatcher)) {}
  ~ticking_client() override {
    detach_from_dispatcher([this] { timer_.stop(); });
  }

  zunto::dispatcher::extra::timer timer_{*this};
};

void timer_interval_zero_ticks(benchmark::State& state) {
  auto clock = std::make_shared<zunto::dispatcher::hardware_time_source>();
  auto dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(clock);
  {
    ticking_client client(dispatcher);
    for (auto _ : state) {
      batch b{state.range(0)};
      client.timer_.start(
          [&client, p = &b] {
            if (p->done_count + 1 == p->size) {
              client.timer_.stop();
            }
            p->job();
          },
          std::chrono::milliseconds(0));
      b.done->wait_notice();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
  }
  dispatcher->terminate();
}

void job_queuing_itself_again(benchmark::State& state) {
  auto clock = std::make_shared<zunto::dispatcher::hardware_time_source>();
  auto dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(clock);
  {
    zunto::dispatcher::extra::dispatcher_client client(dispatcher);
    for (auto _ : state) {
      batch b{state.range(0)};
      std::function<void()> step = [&client, &step, p = &b] {
        const bool more = p->done_count + 1 < p->size; // read first: after the last job, b and step are gone
        p->job();
        if (more) {
          client.enqueue_to_dispatcher(step, time_point(1));
        }
      };
      client.enqueue_to_dispatcher(step, time_point(1));
      b.done->wait_notice();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    client.detach_from_dispatcher();
  }
  dispatcher->terminate();
}

} // namespace

BENCHMARK(dispatcher_enqueue)->Arg(1024)->UseRealTime();
BENCHMARK(asio_post)->Arg(1024)->UseRealTime();
HBD_BENCH_RATIO("dispatcher_enqueue", "asio_post");

BENCHMARK(timer_interval_zero_ticks)->Arg(1024)->UseRealTime();
BENCHMARK(job_queuing_itself_again)->Arg(1024)->UseRealTime();
HBD_BENCH_RATIO("timer_interval_zero_ticks", "job_queuing_itself_again");

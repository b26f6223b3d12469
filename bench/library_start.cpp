// libhbd_initialize followed by libhbd_terminate, against the least that any start of the library
// costs: starting the same four threads (the shared dispatcher, the file writer's dispatcher and
// the two run-loop threads), waiting until each has begun to run, then stopping and joining them.

#include "libhbd.h"
#include "support/ratio.hpp"
#include "support/scratch_folder.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

namespace {

// Nothing the frame does reads a path, but a stray write must land in a scratch folder.
[[maybe_unused]] const bool system_root_set = [] {
  static hbd_bench::scratch_folder root("hbd_bench_library_start");
  ::setenv("HBD_SYSTEM_ROOT", root.path().c_str(), 1);
  return true;
}();

void library_initialize_terminate(benchmark::State& state) {
  libhbd_set_logging_level_off();
  for (auto _ : state) {
    libhbd_initialize();
    libhbd_terminate();
  }
}

// Four threads that report their start and then wait to be told to end.
void four_threads_started_and_joined(benchmark::State& state) {
  for (auto _ : state) {
    std::mutex mutex;
    std::condition_variable stop_changed;
    bool stop = false;
    std::array<std::thread, 4> threads;
    for (auto& thread : threads) {
      std::promise<void> started;
      auto running = started.get_future();
      thread = std::thread([&, started = std::move(started)]() mutable {
        started.set_value();
        std::unique_lock lock(mutex);
        stop_changed.wait(lock, [&] { return stop; });
      });
      running.wait();
    }
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    stop_changed.notify_all();
    for (auto& thread : threads) {
      thread.join();
    }
  }
}

} // namespace

BENCHMARK(library_initialize_terminate)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(four_threads_started_and_joined)->UseRealTime()->Unit(benchmark::kMicrosecond);
HBD_BENCH_RATIO("library_initialize_terminate", "four_threads_started_and_joined");

// Enabling and disabling the configuration monitor, as the application does at start-up, against
// the least a monitor that watches on a thread of its own costs: one thread started and joined.
// Disabling must not wait for the kernel to let go of the monitor's file watches.

#include "libhbd.h"
#include "support/ratio.hpp"
#include "support/scratch_folder.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <future>
#include <thread>

namespace {

// The monitor reads the user's configuration and watches its folder: both lie in a scratch folder.
[[maybe_unused]] const bool folders_set = [] {
  static hbd_bench::scratch_folder root("hbd_bench_configuration_monitor");
  ::setenv("HOME", root.path().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (root.path() + "/config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root.path() + "/data").c_str(), 1);
  ::setenv("HBD_SYSTEM_ROOT", root.path().c_str(), 1);
  return true;
}();

void release_configuration(void* handle, void* /*context*/) { libhbd_core_configuration_terminate(&handle); }

void configuration_monitor_enable_disable(benchmark::State& state) {
  libhbd_set_logging_level_off();
  libhbd_initialize();
  for (auto _ : state) {
    libhbd_enable_configuration_monitor(release_configuration, nullptr);
    libhbd_disable_configuration_monitor();
  }
  libhbd_terminate();
}

void thread_started_and_joined(benchmark::State& state) {
  for (auto _ : state) {
    std::promise<void> started;
    auto running = started.get_future();
    std::thread thread([&started] { started.set_value(); });
    running.wait();
    thread.join();
  }
}

} // namespace

BENCHMARK(configuration_monitor_enable_disable)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(thread_started_and_joined)->UseRealTime()->Unit(benchmark::kMicrosecond);
HBD_BENCH_RATIO("configuration_monitor_enable_disable", "thread_started_and_joined");

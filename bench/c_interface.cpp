// A change written by another process to a backend state file, timed from the write to the
// application's C callback (libhbd_enable_observer_state_json_file_monitor), against a plain inotify
// read loop seeing the same kind of write. The stream's fixed 0.1 s gathering delay is subtracted,
// so the C interface's figure is the overhead beyond it; compare it with bench_file_monitor's
// figure for the monitor's own signal.

#include "libhbd.h"
#include "support/ratio.hpp"
#include "support/scratch_folder.hpp"
#include "support/writer_process.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr auto stream_latency = std::chrono::milliseconds(100);

// The library's system paths lie under a scratch root, set before the first path is computed.
hbd_bench::writer_process& get_writer() {
  static hbd_bench::scratch_folder root("hbd_bench_c_interface");
  static const std::filesystem::path tmp_directory = [] {
    ::setenv("HBD_SYSTEM_ROOT", root.path().c_str(), 1);
    auto path = std::filesystem::path(root.path()) / "Library/Application Support/org.zunto/tmp";
    std::filesystem::create_directories(path);
    return path;
  }();
  static hbd_bench::writer_process writer((tmp_directory / "hobbard_observer_state.json").string());
  return writer;
}

// The first benchmark to run forks the writer while the process still has one thread.
[[maybe_unused]] const bool writer_made_early = (get_writer(), true);

void on_file_changed(const char*, void* context) { static_cast<hbd_bench::change_reports*>(context)->report(); }

void c_interface_change_reported(benchmark::State& state) {
  auto& writer = get_writer();
  hbd_bench::change_reports reports;
  libhbd_set_logging_level_off();
  libhbd_initialize();
  libhbd_enable_observer_state_json_file_monitor(on_file_changed, &reports);
  reports.wait_for_first();

  reports.measure(state, writer, stream_latency);

  libhbd_terminate();
}

void raw_inotify_change_seen(benchmark::State& state) { hbd_bench::measure_raw_inotify_change(state, get_writer()); }

} // namespace

BENCHMARK(c_interface_change_reported)->UseManualTime()->Iterations(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(raw_inotify_change_seen)->UseManualTime()->Iterations(50)->Unit(benchmark::kMicrosecond);
HBD_BENCH_RATIO("c_interface_change_reported", "raw_inotify_change_seen");

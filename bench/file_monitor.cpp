// A change written by another process, timed from the write to its report: through the file
// monitor's file_changed signal, against a plain inotify read loop seeing the same kind of write.
// The monitor's stream gathers changes for a fixed 0.1 s before it delivers them; that wait is
// subtracted, so the monitor's figure is the overhead beyond it (the whole delay is shown as the
// "delivered_after_ms" counter).

#include "hbd/logger.hpp"
#include "support/ratio.hpp"
#include "support/scratch_folder.hpp"
#include "support/writer_process.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr auto stream_latency = std::chrono::milliseconds(100);

hbd_bench::writer_process& get_writer() {
  static hbd_bench::scratch_folder folder("hbd_bench_file_monitor");
  static hbd_bench::writer_process writer(folder.path() + "/state.json");
  return writer;
}

// The first benchmark to run forks the writer while the process still has one thread.
[[maybe_unused]] const bool writer_made_early = (get_writer(), true);

void file_monitor_change_reported(benchmark::State& state) {
  auto& writer = get_writer();
  auto time_source = std::make_shared<zunto::dispatcher::hardware_time_source>();
  auto dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(time_source);

  hbd_bench::change_reports reports;
  auto monitor = std::make_unique<zunto::osx::file_monitor>(dispatcher, std::vector<std::string>{writer.file()},
                                                            hbd::logger::get_logger());
  monitor->file_changed.connect(
      [&](const std::string&, std::shared_ptr<std::vector<std::uint8_t>>) { reports.report(); });
  monitor->async_start();
  reports.wait_for_first();

  reports.measure(state, writer, stream_latency);

  monitor.reset();
  dispatcher->terminate();
}

void raw_inotify_change_seen(benchmark::State& state) { hbd_bench::measure_raw_inotify_change(state, get_writer()); }

} // namespace

BENCHMARK(file_monitor_change_reported)->UseManualTime()->Iterations(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(raw_inotify_change_seen)->UseManualTime()->Iterations(50)->Unit(benchmark::kMicrosecond);
HBD_BENCH_RATIO("file_monitor_change_reported", "raw_inotify_change_seen");

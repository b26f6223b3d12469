#pragma once

#include <benchmark/benchmark.h>

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace hbd_bench {

// A child process that rewrites one file in place whenever it is asked, each time with other bytes
// of the same length, so that the file's watchers see changes that are not their own process's.
// Make it before the benchmarks start any thread.
class writer_process final {
public:
  // Writes the file's first content, then forks; the file's folder must exist.
  explicit writer_process(std::string file);
  ~writer_process();

  writer_process(const writer_process&) = delete;
  writer_process& operator=(const writer_process&) = delete;

  // Returns at once; the child writes soon after.
  void request_write() const;

  const std::string& file() const { return file_; }
  // The file's folder.
  std::string directory() const;

private:
  std::string file_;
  pid_t pid_ = -1;
  int request_fd_ = -1;
};

// Reports of a watcher under test, counted with the time of the last one; safe from any thread.
class change_reports final {
public:
  void report();

  // Blocks until the watcher's first report (the one it makes when it starts).
  void wait_for_first();

  // Times each iteration from the writer's request to the next report, less the watcher's fixed
  // gathering delay (`latency`); the whole delay is shown as the "delivered_after_ms" counter.
  void measure(benchmark::State& state, const writer_process& writer, std::chrono::milliseconds latency);

private:
  std::mutex mutex_;
  std::condition_variable cv_;
  long reports_ = 0;
  std::chrono::steady_clock::time_point reported_at_;
};

// The baseline of a file monitor's report: a plain inotify watch on the writer's folder, timed from
// the request to the close of the file being read from the watch.
void measure_raw_inotify_change(benchmark::State& state, const writer_process& writer);

} // namespace hbd_bench

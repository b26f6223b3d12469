// A change written by another process, timed from the write to its report: through the file
// monitor's file_changed signal, against a plain inotify read loop seeing the same kind of write.
// The monitor's stream gathers changes for a fixed 0.1 s before it delivers them; that wait is
// subtracted, so the monitor's figure is the overhead beyond it (the whole delay is shown as the
// "delivered_after_ms" counter).

#include "support/ratio.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace {

using clock_type = std::chrono::steady_clock;
constexpr auto stream_latency = std::chrono::milliseconds(100);

// A child process that rewrites one file in place whenever it is asked, each time with other bytes
// of the same length. Made before the benchmarks start any thread.
class writer_process final {
public:
  writer_process() {
    char pattern[] = "/tmp/hbd_bench_file_monitor.XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    directory_ = pattern;
    file_ = directory_ + "/state.json";
    write_file(file_, "{\"change\": start}");

    int fds[2];
    if (::pipe(fds) != 0) {
      std::perror("pipe");
      std::exit(1);
    }
    pid_ = ::fork();
    if (pid_ < 0) {
      std::perror("fork");
      std::exit(1);
    }
    if (pid_ == 0) {
      ::close(fds[1]);
      char request = 0;
      for (long count = 0; ::read(fds[0], &request, 1) == 1; ++count) {
        char text[64];
        // One length for every change, so no write has to shorten the file first: the disk's
        // truncation would be most of what both sides measure.
        const int size = std::snprintf(text, sizeof(text), "{\"change\": %012ld}", count);
        write_file(file_, std::string(text, static_cast<std::size_t>(size)));
      }
      ::_exit(0);
    }
    ::close(fds[0]);
    request_fd_ = fds[1];
  }

  ~writer_process() {
    ::close(request_fd_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  writer_process(const writer_process&) = delete;
  writer_process& operator=(const writer_process&) = delete;

  void request_write() const {
    const char request = 1;
    if (::write(request_fd_, &request, 1) != 1) {
      std::perror("write");
      std::exit(1);
    }
  }

  const std::string& directory() const { return directory_; }
  const std::string& file() const { return file_; }

private:
  static void write_file(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
      std::perror("write_file");
      ::_exit(1);
    }
    ::close(fd);
  }

  std::string directory_;
  std::string file_;
  pid_t pid_ = -1;
  int request_fd_ = -1;
};

writer_process& get_writer() {
  static writer_process writer;
  return writer;
}

// The first benchmark to run forks the writer while the process still has one thread.
[[maybe_unused]] const bool writer_made_early = (get_writer(), true);

void file_monitor_change_reported(benchmark::State& state) {
  auto& writer = get_writer();
  auto time_source = std::make_shared<zunto::dispatcher::hardware_time_source>();
  auto dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(time_source);

  std::mutex mutex;
  std::condition_variable cv;
  long reports = 0;
  clock_type::time_point reported_at;
  auto monitor = std::make_unique<zunto::osx::file_monitor>(dispatcher, std::vector<std::string>{writer.file()});
  monitor->file_changed.connect([&](const std::string&, std::shared_ptr<std::vector<std::uint8_t>>) {
    const auto now = clock_type::now();
    std::lock_guard lock(mutex);
    ++reports;
    reported_at = now;
    cv.notify_all();
  });
  monitor->async_start();
  {
    std::unique_lock lock(mutex);
    cv.wait(lock, [&] { return reports == 1; });
  }

  double delivered_total_ms = 0;
  for (auto _ : state) {
    long before = 0;
    {
      std::lock_guard lock(mutex);
      before = reports;
    }
    const auto written_at = clock_type::now();
    writer.request_write();
    std::unique_lock lock(mutex);
    if (!cv.wait_for(lock, std::chrono::seconds(5), [&] { return reports > before; })) {
      state.SkipWithError("no report within 5 s");
      break;
    }
    const std::chrono::duration<double> delay = reported_at - written_at;
    delivered_total_ms += delay.count() * 1000;
    state.SetIterationTime(std::max(0.0, std::chrono::duration<double>(delay - stream_latency).count()));
  }
  state.counters["delivered_after_ms"] = benchmark::Counter(delivered_total_ms, benchmark::Counter::kAvgIterations);

  monitor.reset();
  dispatcher->terminate();
}

void raw_inotify_change_seen(benchmark::State& state) {
  auto& writer = get_writer();
  const int fd = ::inotify_init1(IN_CLOEXEC);
  if (fd < 0 || ::inotify_add_watch(fd, writer.directory().c_str(), IN_CLOSE_WRITE) < 0) {
    state.SkipWithError("inotify is not available");
    return;
  }
  alignas(inotify_event) char buffer[4096];
  for (auto _ : state) {
    const auto written_at = clock_type::now();
    writer.request_write();
    // The writer's close is the one event this watch has.
    if (::read(fd, buffer, sizeof(buffer)) <= 0) {
      state.SkipWithError("inotify read failed");
      break;
    }
    const std::chrono::duration<double> delay = clock_type::now() - written_at;
    state.SetIterationTime(delay.count());
  }
  ::close(fd);
}

} // namespace

BENCHMARK(file_monitor_change_reported)->UseManualTime()->Iterations(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(raw_inotify_change_seen)->UseManualTime()->Iterations(50)->Unit(benchmark::kMicrosecond);
HBD_BENCH_RATIO("file_monitor_change_reported", "raw_inotify_change_seen");

#include "support/writer_process.hpp"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace hbd_bench {
namespace {

void write_file(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    std::perror("write_file");
    ::_exit(1);
  }
  ::close(fd);
}

} // namespace

writer_process::writer_process(std::string file) : file_(std::move(file)) {
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

writer_process::~writer_process() {
  ::close(request_fd_);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

void writer_process::request_write() const {
  const char request = 1;
  if (::write(request_fd_, &request, 1) != 1) {
    std::perror("write");
    std::exit(1);
  }
}

std::string writer_process::directory() const { return std::filesystem::path(file_).parent_path().string(); }

void change_reports::report() {
  const auto now = std::chrono::steady_clock::now();
  {
    std::lock_guard lock(mutex_);
    ++reports_;
    reported_at_ = now;
  }
  cv_.notify_all();
}

void change_reports::wait_for_first() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [&] { return reports_ >= 1; });
}

void change_reports::measure(benchmark::State& state, const writer_process& writer, std::chrono::milliseconds latency) {
  double delivered_total_ms = 0;
  for (auto _ : state) {
    long before = 0;
    {
      std::lock_guard lock(mutex_);
      before = reports_;
    }
    const auto written_at = std::chrono::steady_clock::now();
    writer.request_write();
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, std::chrono::seconds(5), [&] { return reports_ > before; })) {
      state.SkipWithError("no report within 5 s");
      break;
    }
    const std::chrono::duration<double> delay = reported_at_ - written_at;
    delivered_total_ms += delay.count() * 1000;
    state.SetIterationTime(std::max(0.0, std::chrono::duration<double>(delay - latency).count()));
  }
  state.counters["delivered_after_ms"] = benchmark::Counter(delivered_total_ms, benchmark::Counter::kAvgIterations);
}

void measure_raw_inotify_change(benchmark::State& state, const writer_process& writer) {
  const int fd = ::inotify_init1(IN_CLOEXEC);
  if (fd < 0 || ::inotify_add_watch(fd, writer.directory().c_str(), IN_CLOSE_WRITE) < 0) {
    state.SkipWithError("inotify is not available");
    if (fd >= 0) {
      ::close(fd);
    }
    return;
  }
  alignas(inotify_event) char buffer[4096];
  for (auto _ : state) {
    const auto written_at = std::chrono::steady_clock::now();
    writer.request_write();
    // The writer's close is the one event this watch has.
    if (::read(fd, buffer, sizeof(buffer)) <= 0) {
      state.SkipWithError("inotify read failed");
      break;
    }
    const std::chrono::duration<double> delay = std::chrono::steady_clock::now() - written_at;
    state.SetIterationTime(delay.count());
  }
  ::close(fd);
}

} // namespace hbd_bench

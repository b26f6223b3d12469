// Start-up of grellan to its first window shown (offscreen) against a bare Qt program that shows
// one window, each started as a process and timed from spawn to the line "launched" it prints once
// its window is shown. The bare window shows no text; the second baseline, the same window with one
// line of text, also loads the fonts that any window with text needs. The last pair compares the
// peak resident memory of the same runs: its "time" is the peak in kilobytes, read as
// microseconds, so that the ratio line compares memory.

#include "support/offscreen_program.hpp"
#include "support/ratio.hpp"
#include "support/scratch_folder.hpp"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Outcome {
  double seconds = 0;
  long peakKilobytes = 0;
  bool succeeded = false;
};

Outcome runOnce(const std::vector<std::string>& command, const std::string& home) {
  int output[2];
  if (::pipe2(output, O_CLOEXEC) != 0) {
    return {};
  }
  Outcome outcome;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = hbd_bench::spawn_offscreen_program(command, home, output[1]);
  ::close(output[1]);
  if (pid > 0) {
    // Reads lines until the one that says the window is shown, or the end of the output.
    std::string text;
    bool launched = false;
    char buffer[4096];
    for (ssize_t count; !launched && (count = ::read(output[0], buffer, sizeof buffer)) > 0;) {
      text.append(buffer, static_cast<std::size_t>(count));
      launched = text.find("\nlaunched\n") != std::string::npos || text.rfind("launched\n", 0) == 0;
    }
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    while (::read(output[0], buffer, sizeof buffer) > 0) {
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid) {
      outcome.peakKilobytes = usage.ru_maxrss;
      outcome.succeeded = launched && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
  }
  ::close(output[0]);
  return outcome;
}

void measure(benchmark::State& state, const std::vector<std::string>& command, bool memory) {
  hbd_bench::scratch_folder home("grellan_bench");
  long peak = 0;
  for (auto _ : state) {
    const Outcome outcome = runOnce(command, home.path());
    if (!outcome.succeeded) {
      state.SkipWithError("the program did not run to its end");
      return;
    }
    peak = outcome.peakKilobytes;
    state.SetIterationTime(memory ? static_cast<double>(outcome.peakKilobytes) * 1e-6 : outcome.seconds);
  }
  state.counters["peak_rss_kb"] = static_cast<double>(peak);
}

const std::vector<std::string> grellan = {GRELLAN_PROGRAM, "--quit-after-launch"};
const std::vector<std::string> bareWindow = {BARE_WINDOW_PROGRAM};
const std::vector<std::string> bareTextWindow = {BARE_WINDOW_PROGRAM, "--with-text"};

void startup_grellan(benchmark::State& state) { measure(state, grellan, false); }
void startup_bare_window(benchmark::State& state) { measure(state, bareWindow, false); }
void startup_bare_text_window(benchmark::State& state) { measure(state, bareTextWindow, false); }
void resident_kb_grellan(benchmark::State& state) { measure(state, grellan, true); }
void resident_kb_bare_window(benchmark::State& state) { measure(state, bareWindow, true); }

} // namespace

BENCHMARK(startup_grellan)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(startup_bare_window)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(startup_bare_text_window)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(resident_kb_grellan)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5);
BENCHMARK(resident_kb_bare_window)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5);
HBD_BENCH_RATIO("startup_grellan", "startup_bare_window");
HBD_BENCH_RATIO("startup_grellan", "startup_bare_text_window");
HBD_BENCH_RATIO("resident_kb_grellan", "resident_kb_bare_window");

// The indicator's steady state with both widgets on (the clock above, both counts below) against an
// idle Qt program with one 0.5-second timer: CPU time and wake-ups (context switches of all its
// threads) per minute, measured over a window after start-up has settled. Each benchmark's "time"
// is the CPU seconds per minute; the wake-up pair reports wake-ups per minute as microseconds, so
// that its ratio line compares wake-ups.

#include "support/offscreen_program.hpp"
#include "support/ratio.hpp"
#include "support/scratch_folder.hpp"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr auto settle = std::chrono::seconds(3);
constexpr auto window = std::chrono::seconds(10);

struct Usage {
  double cpuSeconds = 0;
  long wakeUps = 0;
};

Usage usageOf(pid_t pid) {
  Usage usage;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::vector<std::string> values;
  for (std::string value; fields >> value;) {
    values.push_back(value);
  }
  if (values.size() > 12) {
    usage.cpuSeconds =
        static_cast<double>(std::stol(values[11]) + std::stol(values[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream status(task.path() / "status");
    for (std::string entry; std::getline(status, entry);) {
      if (entry.rfind("voluntary_ctxt_switches:", 0) == 0 || entry.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
        usage.wakeUps += std::stol(entry.substr(entry.find(':') + 1));
      }
    }
  }
  return usage;
}

// Usage per minute of the program in its steady state; negative when it could not be started.
Usage steadyState(const std::vector<std::string>& command, const std::string& home) {
  std::filesystem::create_directories(home + "/.config/grellan");
  std::ofstream(home + "/.config/grellan/grellan.conf")
      << "[General]\ntutorialPassed=true\ntopWidget=Time\nbottomWidget=Character and line count\n";
  const pid_t pid = hbd_bench::spawn_offscreen_program(command, home);
  if (pid < 0) {
    return {-1, -1};
  }
  std::this_thread::sleep_for(settle);
  const Usage before = usageOf(pid);
  std::this_thread::sleep_for(window);
  const Usage after = usageOf(pid);
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double perMinute = 60.0 / std::chrono::duration<double>(window).count();
  return {(after.cpuSeconds - before.cpuSeconds) * perMinute,
          static_cast<long>(static_cast<double>(after.wakeUps - before.wakeUps) * perMinute)};
}

void measure(benchmark::State& state, const std::vector<std::string>& command, bool wakeUps) {
  hbd_bench::scratch_folder home("grellan_steady");
  Usage usage;
  for (auto _ : state) {
    usage = steadyState(command, home.path());
    if (usage.cpuSeconds < 0) {
      state.SkipWithError("the program could not be started");
      return;
    }
    // At least one clock tick, so a ratio against an idle baseline stays finite.
    const double cpu = std::max(usage.cpuSeconds, 1.0 / static_cast<double>(sysconf(_SC_CLK_TCK)));
    state.SetIterationTime(wakeUps ? static_cast<double>(usage.wakeUps) * 1e-6 : cpu);
  }
  state.counters["cpu_seconds_per_minute"] = usage.cpuSeconds;
  state.counters["wake_ups_per_minute"] = static_cast<double>(usage.wakeUps);
}

const std::vector<std::string> grellan = {GRELLAN_PROGRAM};
const std::vector<std::string> idleTimer = {IDLE_TIMER_PROGRAM};

void steady_cpu_grellan(benchmark::State& state) { measure(state, grellan, false); }
void steady_cpu_idle_timer(benchmark::State& state) { measure(state, idleTimer, false); }
void steady_wake_ups_grellan(benchmark::State& state) { measure(state, grellan, true); }
void steady_wake_ups_idle_timer(benchmark::State& state) { measure(state, idleTimer, true); }

} // namespace

BENCHMARK(steady_cpu_grellan)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(steady_cpu_idle_timer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(steady_wake_ups_grellan)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1);
BENCHMARK(steady_wake_ups_idle_timer)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1);
HBD_BENCH_RATIO("steady_cpu_grellan", "steady_cpu_idle_timer");
HBD_BENCH_RATIO("steady_wake_ups_grellan", "steady_wake_ups_idle_timer");

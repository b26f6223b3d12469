#include "support/ratio.hpp"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <utility>
#include <vector>

namespace hbd_bench {
namespace {

std::vector<std::pair<std::string, std::string>>& ratios() {
  static std::vector<std::pair<std::string, std::string>> pairs;
  return pairs;
}

class recording_reporter final : public benchmark::ConsoleReporter {
public:
  // Colour codes only on a terminal, so logs and pipes get plain lines.
  recording_reporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times_[run.benchmark_name()] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void print_ratios() const {
    for (const auto& [subject, baseline] : ratios()) {
      for (const auto& [name, time] : times_) {
        if (name.rfind(subject, 0) != 0) {
          continue;
        }
        auto suffix = name.substr(subject.size());
        if (!suffix.empty() && suffix.front() != '/') {
          continue;
        }
        auto it = times_.find(baseline + suffix);
        if (it == times_.end() || it->second <= 0) {
          continue;
        }
        std::printf("ratio %s%s / %s%s = %.2f\n", subject.c_str(), suffix.c_str(), baseline.c_str(), suffix.c_str(),
                    time / it->second);
      }
    }
  }

private:
  std::map<std::string, double> times_;
};

} // namespace

bool register_ratio(std::string subject, std::string baseline) {
  ratios().emplace_back(std::move(subject), std::move(baseline));
  return true;
}

} // namespace hbd_bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  hbd_bench::recording_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.print_ratios();
  benchmark::Shutdown();
  return 0;
}

// Glob of "*.sock" against a plain listing of the same directory. The directory sits 24 levels
// deep, where a backtracking hidden-name expression used to cost seconds per entry.

#include "glob/glob.hpp"
#include "support/ratio.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

class deep_directory final {
public:
  explicit deep_directory(int entries) {
    std::string pattern = (fs::temp_directory_path() / "hbd_bench_glob.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
    path_ = root_;
    for (int level = 0; level < 24; ++level) {
      path_ /= "level" + std::to_string(level);
    }
    fs::create_directories(path_);
    for (int i = 0; i < entries; ++i) {
      std::ofstream(path_ / ("entry" + std::to_string(i) + (i % 2 == 0 ? ".sock" : ".txt")));
    }
  }
  ~deep_directory() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  deep_directory(const deep_directory&) = delete;
  deep_directory& operator=(const deep_directory&) = delete;

  const fs::path& path() const { return path_; }

private:
  fs::path root_;
  fs::path path_;
};

void glob_sock(benchmark::State& state) {
  const deep_directory directory(static_cast<int>(state.range(0)));
  const std::string pattern = (directory.path() / "*.sock").string();
  for (auto _ : state) {
    benchmark::DoNotOptimize(glob::glob(pattern));
  }
}

void list_sock(benchmark::State& state) {
  const deep_directory directory(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<fs::path> result;
    for (const auto& entry : fs::directory_iterator(directory.path())) {
      if (entry.path().extension() == ".sock") {
        result.push_back(entry.path());
      }
    }
    benchmark::DoNotOptimize(result);
  }
}

} // namespace

BENCHMARK(glob_sock)->Arg(16)->Arg(256);
BENCHMARK(list_sock)->Arg(16)->Arg(256);
HBD_BENCH_RATIO("glob_sock", "list_sock");

// Loading and saving a large configuration file: the model's constructor against
// nlohmann::json::parse of the same bytes, and sync_save_to_file against dumping the parsed value
// then writing, syncing and renaming it by hand. The argument is the number of profiles; each
// holds 200 rules of 8 manipulators, 300 simple modifications and 120 devices (about 2.7 MB of
// saved text a profile). Peak heap growth during one load or save is reported as a counter.
//
// The user paths point into a temporary folder made before main and removed at exit, so the
// benchmark never touches the real configuration.

#include "hbd/constants.hpp"
#include "hbd/core_configuration/core_configuration.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "support/ratio.hpp"
#include "support/raw_save.hpp"
#include "support/scratch_folder.hpp"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <sstream>
#include <string>

// Heap accounting for the peak-memory counter: every allocation of the process goes through here.
namespace {

std::atomic<std::int64_t> current_bytes{0};
std::atomic<std::int64_t> peak_bytes{0};

void* counted_allocate(std::size_t size) {
  void* pointer = std::malloc(size == 0 ? 1 : size);
  if (pointer == nullptr) {
    throw std::bad_alloc();
  }
  const auto now = current_bytes += static_cast<std::int64_t>(::malloc_usable_size(pointer));
  auto peak = peak_bytes.load(std::memory_order_relaxed);
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return pointer;
}

void counted_free(void* pointer) {
  if (pointer != nullptr) {
    current_bytes -= static_cast<std::int64_t>(::malloc_usable_size(pointer));
    std::free(pointer);
  }
}

} // namespace

void* operator new(std::size_t size) { return counted_allocate(size); }
void* operator new[](std::size_t size) { return counted_allocate(size); }
void operator delete(void* pointer) noexcept { counted_free(pointer); }
void operator delete[](void* pointer) noexcept { counted_free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { counted_free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { counted_free(pointer); }

namespace {

// The user paths of this process point into a scratch folder.
class temporary_home final {
public:
  temporary_home() {
    ::setenv("HOME", folder_.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (path() / ".config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (path() / ".local/share").c_str(), 1);
    ::setenv("HBD_SYSTEM_ROOT", (path() / "system").c_str(), 1);
  }

  std::filesystem::path path() const { return folder_.path(); }

private:
  hbd_bench::scratch_folder folder_{"hbd_bench"};
};

const temporary_home home;

nlohmann::json make_profile(int index) {
  nlohmann::json profile = {{"name", "profile " + std::to_string(index)}, {"selected", index == 0}};
  for (int i = 0; i < 300; ++i) {
    profile["simple_modifications"].push_back({{"from", {{"key_code", "key_" + std::to_string(i)}}},
                                               {"to", {{{"key_code", "target_" + std::to_string(i)}}}}});
  }
  auto& rules = profile["complex_modifications"]["rules"];
  for (int r = 0; r < 200; ++r) {
    nlohmann::json rule = {{"description", "rule " + std::to_string(r)}};
    for (int m = 0; m < 8; ++m) {
      rule["manipulators"].push_back({
          {"type", "basic"},
          {"from", {{"key_code", "a"}, {"modifiers", {{"mandatory", {"left_shift"}}, {"optional", {"any"}}}}}},
          {"to", {{{"key_code", "b"}, {"modifiers", {"left_command"}}}}},
          {"to_if_alone", {{{"key_code", "escape"}}}},
          {"conditions", {{{"type", "variable_if"}, {"name", "mode " + std::to_string(m)}, {"value", r}}}},
      });
    }
    rules.push_back(std::move(rule));
  }
  for (int d = 0; d < 120; ++d) {
    profile["devices"].push_back({
        {"identifiers",
         {{"vendor_id", 1000 + d}, {"product_id", d}, {"is_keyboard", d % 2 == 0}, {"is_pointing_device", d % 2 == 1}}},
        {"ignore", false},
        {"simple_modifications", {{{"from", {{"key_code", "caps_lock"}}}, {"to", {{{"key_code", "escape"}}}}}}},
    });
  }
  return profile;
}

// The saved text of a configuration with that many profiles, written once per argument.
const std::string& configuration_file(int profiles) {
  static std::map<int, std::string> paths;
  auto& path = paths[profiles];
  if (path.empty()) {
    nlohmann::json json = {{"global", {{"show_in_menu_bar", true}}}};
    for (int p = 0; p < profiles; ++p) {
      json["profiles"].push_back(make_profile(p));
    }
    path = (home.path() / ("configuration_" + std::to_string(profiles) + ".json")).string();
    std::ofstream(path) << json.dump(4);
  }
  return path;
}

std::string read_whole_file(const std::string& path) {
  std::ifstream input(path, std::ios::binary);
  std::ostringstream text;
  text << input.rdbuf();
  return text.str();
}

void report(benchmark::State& state, const std::string& path, std::int64_t peak_growth) {
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
  state.counters["peak_heap_MB"] = static_cast<double>(peak_growth) / 1e6;
}

void load_core_configuration(benchmark::State& state) {
  const auto& path = configuration_file(static_cast<int>(state.range(0)));
  std::int64_t peak_growth = 0;
  for (auto _ : state) {
    const auto before = current_bytes.load();
    peak_bytes = before;
    hbd::core_configuration::core_configuration configuration(path, ::geteuid());
    if (!configuration.is_loaded()) {
      state.SkipWithError("the configuration did not load");
      break;
    }
    peak_growth = std::max(peak_growth, peak_bytes.load() - before);
  }
  report(state, path, peak_growth);
}

void parse_json(benchmark::State& state) {
  const auto& path = configuration_file(static_cast<int>(state.range(0)));
  std::int64_t peak_growth = 0;
  for (auto _ : state) {
    const auto before = current_bytes.load();
    peak_bytes = before;
    auto json = nlohmann::json::parse(read_whole_file(path), nullptr, true, true);
    benchmark::DoNotOptimize(json);
    peak_growth = std::max(peak_growth, peak_bytes.load() - before);
  }
  report(state, path, peak_growth);
}

void save_core_configuration(benchmark::State& state) {
  const auto& path = configuration_file(static_cast<int>(state.range(0)));
  hbd::dispatcher_utility::scoped_dispatcher_manager manager;
  hbd::core_configuration::core_configuration configuration(path, ::geteuid());
  // The file of an earlier run is no edit of the user's to keep aside.
  std::filesystem::remove(hbd::constants::get_user_core_configuration_file_path());
  std::int64_t peak_growth = 0;
  for (auto _ : state) {
    const auto before = current_bytes.load();
    peak_bytes = before;
    configuration.sync_save_to_file();
    peak_growth = std::max(peak_growth, peak_bytes.load() - before);
  }
  report(state, path, peak_growth);
}

void dump_write_fsync_rename(benchmark::State& state) {
  const auto& path = configuration_file(static_cast<int>(state.range(0)));
  const auto json = nlohmann::json::parse(read_whole_file(path), nullptr, true, true);
  const auto target = (home.path() / "raw.json").string();
  std::int64_t peak_growth = 0;
  for (auto _ : state) {
    const auto before = current_bytes.load();
    peak_bytes = before;
    if (!hbd_bench::dump_write_and_rename(target, json, hbd_bench::durability::file)) {
      state.SkipWithError("the raw write failed");
      break;
    }
    peak_growth = std::max(peak_growth, peak_bytes.load() - before);
  }
  report(state, path, peak_growth);
}

} // namespace

BENCHMARK(load_core_configuration)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(parse_json)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
HBD_BENCH_RATIO("load_core_configuration", "parse_json");

BENCHMARK(save_core_configuration)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(dump_write_fsync_rename)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
HBD_BENCH_RATIO("save_core_configuration", "dump_write_fsync_rename");

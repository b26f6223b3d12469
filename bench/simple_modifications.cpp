// Reading a simple-modification list and writing it back, against parsing the same text and
// sorting its "from" texts in natural order. The ratio should stay flat as the list grows: merging by "from"
// and sorting must not turn quadratic.

#include "SI/natural.hpp"
#include "hbd/core_configuration/details/simple_modifications.hpp"
#include "support/ratio.hpp"

#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::string make_list_text(std::int64_t size) {
  std::vector<std::int64_t> order(static_cast<std::size_t>(size));
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = static_cast<std::int64_t>(i);
  }
  std::shuffle(order.begin(), order.end(), std::mt19937(42));

  auto list = nlohmann::json::array();
  for (auto i : order) {
    auto entry = nlohmann::json::object();
    entry["from"]["key_code"] = fmt::format("key{0}", i);
    entry["to"] = nlohmann::json::array({{{"key_code", fmt::format("f{0}", i % 12 + 1)}}});
    list.push_back(std::move(entry));
  }
  return list.dump();
}

void simple_modifications_read_and_write(benchmark::State& state) {
  const auto text = make_list_text(state.range(0));
  for (auto _ : state) {
    hbd::core_configuration::details::simple_modifications list;
    list.handle_json(nlohmann::json::parse(text));
    auto written = list.to_json();
    benchmark::DoNotOptimize(written);
  }
  state.SetComplexityN(state.range(0));
}

void parse_and_sort_from_texts(benchmark::State& state) {
  const auto text = make_list_text(state.range(0));
  for (auto _ : state) {
    auto list = nlohmann::json::parse(text);
    std::vector<std::string> froms;
    froms.reserve(list.size());
    for (const auto& entry : list) {
      froms.push_back(entry["from"].dump());
    }
    std::sort(froms.begin(), froms.end(), [](const std::string& left, const std::string& right) {
      return SI::natural::_compare(left.begin(), left.end(), right.begin(), right.end());
    });
    benchmark::DoNotOptimize(froms);
  }
  state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(simple_modifications_read_and_write)->RangeMultiplier(2)->Range(156, 10000)->Complexity();
BENCHMARK(parse_and_sort_from_texts)->RangeMultiplier(2)->Range(156, 10000)->Complexity();
HBD_BENCH_RATIO("simple_modifications_read_and_write", "parse_and_sort_from_texts");

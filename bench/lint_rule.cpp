// Validating a large generated rule against parsing its text, with and without the library's
// dispatchers running (manipulators attach to the shared dispatcher while they are built).

#include "hbd/complex_modifications_utility.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "support/ratio.hpp"

#include <benchmark/benchmark.h>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace {

using hbd::core_configuration::details::complex_modifications_parameters;
using hbd::core_configuration::details::complex_modifications_rule;

// Manipulators of the kinds rules are made of: keys with modifiers, simultaneous keys, timed
// actions, mouse manipulators and every condition kind.
std::string make_rule_text(int manipulators) {
  auto list = nlohmann::json::array();
  for (int i = 0; i < manipulators; ++i) {
    const auto name = fmt::format("v{0}", i);
    switch (i % 4) {
      case 0:
        list.push_back(
            {{"type", "basic"},
             {"from", {{"key_code", "a"}, {"modifiers", {{"mandatory", {"left_shift"}}, {"optional", {"any"}}}}}},
             {"to", {{{"key_code", "b"}, {"modifiers", {"left_command"}}}}},
             {"conditions", {{{"type", "variable_if"}, {"name", name}, {"value", 1}}}}});
        break;
      case 1:
        list.push_back({{"type", "basic"},
                        {"from",
                         {{"simultaneous", {{{"key_code", "j"}}, {{"key_code", "k"}}}},
                          {"simultaneous_options", {{"key_down_order", "strict"}}}}},
                        {"to", {{"set_variable", {{"name", name}, {"value", 1}}}}},
                        {"to_if_alone", {{"key_code", "escape"}}},
                        {"conditions", {{{"type", "device_if"}, {"identifiers", {{{"vendor_id", 1452}}}}}}}});
        break;
      case 2:
        list.push_back(
            {{"type", "basic"},
             {"from", {{"key_code", "caps_lock"}}},
             {"to_if_held_down", {{"key_code", "left_control"}}},
             {"to_delayed_action", {{"to_if_invoked", {{"key_code", "c"}}}}},
             {"conditions",
              {{{"type", "frontmost_application_unless"}, {"bundle_identifiers", {"^com\\.example\\.terminal$"}}}}}});
        break;
      default:
        list.push_back({{"type", "mouse_basic"},
                        {"flip", {"x"}},
                        {"conditions", {{{"type", "keyboard_type_if"}, {"keyboard_types", {"iso"}}}}}});
        break;
    }
  }
  return nlohmann::json{{"description", "generated"}, {"manipulators", list}}.dump();
}

void lint(benchmark::State& state, bool dispatcher_running) {
  std::optional<hbd::dispatcher_utility::scoped_dispatcher_manager> manager;
  if (dispatcher_running) {
    manager.emplace();
  }
  const complex_modifications_parameters parameters;
  const complex_modifications_rule rule(nlohmann::json::parse(make_rule_text(static_cast<int>(state.range(0)))),
                                        parameters);
  for (auto _ : state) {
    auto errors = hbd::complex_modifications_utility::lint_rule(rule);
    if (!errors.empty()) {
      state.SkipWithError(errors.front().c_str());
      break;
    }
  }
}

void lint_rule(benchmark::State& state) { lint(state, false); }
void lint_rule_with_dispatcher(benchmark::State& state) { lint(state, true); }

void parse_rule_text(benchmark::State& state) {
  const auto text = make_rule_text(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(nlohmann::json::parse(text));
  }
}

} // namespace

BENCHMARK(lint_rule)->Arg(100)->Arg(1000);
BENCHMARK(lint_rule_with_dispatcher)->Arg(100)->Arg(1000);
BENCHMARK(parse_rule_text)->Arg(100)->Arg(1000);
HBD_BENCH_RATIO("lint_rule", "parse_rule_text");
HBD_BENCH_RATIO("lint_rule_with_dispatcher", "parse_rule_text");

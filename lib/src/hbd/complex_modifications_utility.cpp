#include "hbd/complex_modifications_utility.hpp"

#include "hbd/manipulator/manipulator_factory.hpp"

#include <nlohmann/json.hpp>

#include <exception>

namespace hbd::complex_modifications_utility {

std::vector<std::string> lint_rule(const core_configuration::details::complex_modifications_rule& rule) {
  std::vector<std::string> errors;
  const auto error = [&](const std::exception& e) {
    errors.push_back("`" + rule.get_description() + "` error: " + e.what());
  };
  for (const auto& manipulator : rule.get_manipulators()) {
    try {
      manipulator::manipulator_factory::make_manipulator(manipulator.get_json(), manipulator.get_parameters());
    } catch (const std::exception& e) {
      error(e);
      continue;
    }
    for (const auto& condition : manipulator.get_conditions()) {
      try {
        manipulator::manipulator_factory::make_condition(condition.get_json());
      } catch (const std::exception& e) {
        error(e);
        break;
      }
    }
  }
  return errors;
}

std::string get_new_rule_json_string() {
  const auto manipulator = [](const char* mandatory, nlohmann::json to) {
    return nlohmann::json{
        {"from", {{"key_code", "caps_lock"}, {"modifiers", {{"mandatory", {mandatory}}, {"optional", {"any"}}}}}},
        {"to", nlohmann::json::array({std::move(to)})},
        {"type", "basic"},
    };
  };
  const nlohmann::json rule = {
      {"description",
       "New Rule (change left_shift+caps_lock to page_down, right_shift+caps_lock to left_command+mission_control)"},
      {"manipulators",
       nlohmann::json::array({
           manipulator("left_shift", {{"key_code", "page_down"}, {"modifiers", nlohmann::json::array()}}),
           manipulator("right_shift",
                       {{"apple_vendor_keyboard_key_code", "mission_control"}, {"modifiers", {"left_command"}}}),
       })},
  };
  return rule.dump(4, ' ', false, nlohmann::json::error_handler_t::ignore);
}

} // namespace hbd::complex_modifications_utility

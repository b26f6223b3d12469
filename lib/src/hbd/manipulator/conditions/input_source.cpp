#include "hbd/manipulator/conditions/input_source.hpp"

#include "hbd/json_reading.hpp"
#include "hbd/manipulator/conditions/condition_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <array>

namespace hbd::manipulator::conditions {

namespace {

constexpr std::array<std::string_view, 2> type_names{"input_source_if", "input_source_unless"};

} // namespace

input_source::input_source(const nlohmann::json& json) {
  condition_reading::read(
      json, type_names, [this](std::size_t index) { type_ = static_cast<type>(index); },
      [this](const std::string& key, const nlohmann::json& value) {
        if (key != "input_sources") {
          return false;
        }
        zunto::json::requires_array(value, "`input_sources`");
        for (const auto& entry : value) {
          json_reading::wrap_error(
              key, [&] { from_json(entry, input_sources_.emplace_back()); }, true);
        }
        return true;
      });
}

bool input_source::is_fulfilled(const event_queue::entry&, const manipulator_environment& environment) const {
  const auto& properties = environment.get_input_source_properties();
  if (cache_ && cache_->first == properties) {
    return cache_->second;
  }
  bool hit = false;
  for (const auto& specifier : input_sources_) {
    if (specifier.test(properties)) {
      hit = true;
      break;
    }
  }
  const bool result = type_ == type::input_source_if ? hit : !hit;
  cache_ = std::pair(properties, result);
  return result;
}

} // namespace hbd::manipulator::conditions

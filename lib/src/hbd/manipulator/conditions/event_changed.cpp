#include "hbd/manipulator/conditions/event_changed.hpp"

#include "hbd/manipulator/conditions/condition_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <array>

namespace hbd::manipulator::conditions {

namespace {

constexpr std::array<std::string_view, 2> type_names{"event_changed_if", "event_changed_unless"};

} // namespace

event_changed::event_changed(const nlohmann::json& json) {
  condition_reading::read(
      json, type_names, [this](std::size_t index) { type_ = static_cast<type>(index); },
      [this](const std::string& key, const nlohmann::json& value) {
        if (key != "value") {
          return false;
        }
        zunto::json::requires_boolean(value, "`value`");
        value_ = value.get<bool>();
        return true;
      });
  if (!value_) {
    condition_reading::throw_not_found("value", json);
  }
}

bool event_changed::is_fulfilled(const event_queue::entry& entry, const manipulator_environment&) const {
  if (!value_) {
    return false;
  }
  const auto state = entry.get_state();
  if (type_ == type::event_changed_if) {
    return (state == event_queue::state::manipulated) == *value_;
  }
  return (state == event_queue::state::original) == *value_;
}

} // namespace hbd::manipulator::conditions

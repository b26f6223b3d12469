#pragma once

#include "hbd/manipulator/event_definition.hpp"
#include "hbd/manipulator/modifier_definition.hpp"
#include "hbd/momentary_switch_event.hpp"

#include <nlohmann/json_fwd.hpp>

#include <chrono>
#include <set>
#include <vector>

namespace hbd::manipulator {

// One entry of a "to" list: the event with the modifiers to hold and how to post it.
class to_event_definition {
public:
  virtual ~to_event_definition() = default;

  const event_definition& get_event_definition() const { return event_definition_; }
  event_definition& get_event_definition() { return event_definition_; }
  const std::set<modifier_definition::modifier>& get_modifiers() const { return modifiers_; }
  bool get_lazy() const { return lazy_; }
  bool get_repeat() const { return repeat_; }
  bool get_halt() const { return halt_; }
  std::chrono::milliseconds get_hold_down_milliseconds() const { return hold_down_milliseconds_; }

  // The key of the first flag of each modifier, in modifier order.
  std::vector<momentary_switch_event> make_modifier_events() const;

  friend void from_json(const nlohmann::json& json, to_event_definition& value);

private:
  event_definition event_definition_;
  std::set<modifier_definition::modifier> modifiers_;
  bool lazy_ = false;
  bool repeat_ = true;
  bool halt_ = false;
  std::chrono::milliseconds hold_down_milliseconds_{0};
};

// Throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, to_event_definition& value);

// An object gives a list of one, an array the list of its entries; anything else fails with
// "`{key}` must be object or array, but is `{dump}`". Entry errors name the key.
std::vector<to_event_definition> make_to_event_definitions(const std::string& key, const nlohmann::json& json);

} // namespace hbd::manipulator

#pragma once

#include "hbd/manipulator/event_definition.hpp"
#include "hbd/manipulator/from_modifiers_definition.hpp"
#include "hbd/manipulator/manipulators/basic/simultaneous_options.hpp"

#include <nlohmann/json_fwd.hpp>

#include <vector>

namespace hbd::manipulator::manipulators::basic {

// The "from" of a basic manipulator: one key or keys pressed together, with modifiers.
class from_event_definition {
public:
  virtual ~from_event_definition() = default;

  const std::vector<event_definition>& get_event_definitions() const { return event_definitions_; }
  const from_modifiers_definition& get_from_modifiers_definition() const { return from_modifiers_definition_; }
  void set_from_modifiers_definition(const from_modifiers_definition& value) {
    if (&value != &from_modifiers_definition_) {
      from_modifiers_definition_ = value;
    }
  }
  const simultaneous_options& get_simultaneous_options() const { return simultaneous_options_; }

  // A key matches its own definition, or an "any" of its kind.
  static bool test_event(const event_queue::event& event, const event_definition& definition);

  // Whether the events came in the order asked for; events past the definitions are not tested.
  static bool test_key_order(const std::vector<event_queue::event>& events, simultaneous_options::key_order order,
                             const std::vector<event_definition>& definitions);

  friend void from_json(const nlohmann::json& json, from_event_definition& value);

private:
  std::vector<event_definition> event_definitions_;
  from_modifiers_definition from_modifiers_definition_;
  simultaneous_options simultaneous_options_;
};

// Throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, from_event_definition& value);

} // namespace hbd::manipulator::manipulators::basic

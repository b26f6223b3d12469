#include "hbd/manipulator/manipulators/basic/from_event_definition.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::manipulators::basic {

namespace {

std::string dump(const nlohmann::json& json) { return zunto::json::dump_for_error_message(json); }

[[noreturn]] void throw_invalid_event_type(const nlohmann::json& from) {
  throw zunto::json::unmarshal_error("event type is invalid: `" + dump(from) + "`");
}

} // namespace

void from_json(const nlohmann::json& json, from_event_definition& value) {
  zunto::json::requires_object(json, "json");

  event_definition single;
  std::vector<event_definition> simultaneous;

  for (const auto& [key, member] : json.items()) {
    if (single.handle_json(key, member, json)) {
      continue;
    }
    if (key == "simultaneous") {
      zunto::json::requires_array(member, "`" + key + "`");
      for (const auto& entry : member) {
        zunto::json::requires_object(entry, "`" + key + "` entry");
        event_definition definition;
        for (const auto& [entry_key, entry_member] : entry.items()) {
          if (!definition.handle_json(entry_key, entry_member, entry)) {
            throw zunto::json::unmarshal_error("unknown key: `" + entry_key + "` in `" + dump(entry));
          }
        }
        if (definition.get_type() == event_definition::type::none) {
          throw_invalid_event_type(json);
        }
        simultaneous.push_back(std::move(definition));
      }
    } else if (key == "modifiers") {
      json_reading::wrap_error(key, [&] {
        from_modifiers_definition modifiers;
        from_json(member, modifiers);
        value.set_from_modifiers_definition(modifiers);
      });
    } else if (key == "simultaneous_options") {
      value.simultaneous_options_ = json_reading::read_wrapped<simultaneous_options>(key, member);
    } else {
      throw zunto::json::unmarshal_error("`from` error: unknown key `" + key + "` in `" + dump(json) + "`");
    }
  }

  // A single key written beside "simultaneous" is dropped.
  if (simultaneous.empty() && single.get_type() != event_definition::type::none) {
    simultaneous.push_back(std::move(single));
  }
  if (simultaneous.empty()) {
    throw zunto::json::unmarshal_error("event is not specified: `" + dump(json) + "`");
  }
  for (const auto& definition : simultaneous) {
    if (definition.get_type() != event_definition::type::momentary_switch_event &&
        definition.get_type() != event_definition::type::any) {
      throw_invalid_event_type(json);
    }
  }
  value.event_definitions_ = std::move(simultaneous);
}

} // namespace hbd::manipulator::manipulators::basic

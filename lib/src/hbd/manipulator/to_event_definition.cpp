#include "hbd/manipulator/to_event_definition.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace hbd::manipulator {

std::vector<momentary_switch_event> to_event_definition::make_modifier_events() const {
  std::vector<momentary_switch_event> events;
  for (const auto modifier : modifiers_) {
    const auto flags = modifier_definition::get_modifier_flags(modifier);
    if (!flags.empty()) {
      if (auto key = momentary_switch_event::make_from_modifier_flag(flags.front())) {
        events.push_back(*key);
      }
    }
  }
  return events;
}

void from_json(const nlohmann::json& json, to_event_definition& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (value.event_definition_.handle_json(key, member, json)) {
      continue;
    }
    if (key == "modifiers") {
      value.modifiers_ = json_reading::wrap_error(key, [&] { return modifier_definition::make_modifiers(member); });
    } else if (key == "lazy" || key == "repeat" || key == "halt") {
      zunto::json::requires_boolean(member, "`" + key + "`");
      (key == "lazy" ? value.lazy_ : key == "repeat" ? value.repeat_ : value.halt_) = member.get<bool>();
    } else if (key == "hold_down_milliseconds" || key == "held_down_milliseconds") {
      // A negative time would make the delay counter run backwards.
      value.hold_down_milliseconds_ =
          std::chrono::milliseconds(std::max(json_reading::read_int32_member(key, member), 0));
    } else {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
  const auto type = value.event_definition_.get_type();
  if (type == event_definition::type::none || type == event_definition::type::any) {
    throw zunto::json::unmarshal_error("event type is invalid: `" + zunto::json::dump_for_error_message(json) + "`");
  }
}

std::vector<to_event_definition> make_to_event_definitions(const std::string& key, const nlohmann::json& json) {
  std::vector<to_event_definition> result;
  if (json.is_object()) {
    json_reading::wrap_error(key, [&] { from_json(json, result.emplace_back()); });
  } else if (json.is_array()) {
    json_reading::wrap_error(
        key,
        [&] {
          for (const auto& entry : json) {
            from_json(entry, result.emplace_back());
          }
        },
        true);
  } else {
    throw zunto::json::unmarshal_error("`" + key + "` must be object or array, but is `" +
                                       zunto::json::dump_for_error_message(json) + "`");
  }
  return result;
}

} // namespace hbd::manipulator

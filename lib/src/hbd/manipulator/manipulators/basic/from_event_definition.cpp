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

bool from_event_definition::test_event(const event_queue::event& event, const event_definition& definition) {
  const auto key = event.get_momentary_switch_event();
  if (!key) {
    return false;
  }
  if (const auto* wanted = definition.find<momentary_switch_event>()) {
    return *wanted == *key;
  }
  if (const auto* any = definition.find<event_definition::any_type>()) {
    const auto& pair = key->get_usage_pair();
    if (pair.get_usage_page() == zunto::hid::usage_page::value_t{0} ||
        pair.get_usage() == zunto::hid::usage::value_t{0}) {
      return false;
    }
    switch (*any) {
      case event_definition::any_type::key_code:
        return pair.get_usage_page() == zunto::hid::usage_page::keyboard_or_keypad;
      case event_definition::any_type::consumer_key_code:
        return pair.get_usage_page() == zunto::hid::usage_page::consumer;
      case event_definition::any_type::apple_vendor_keyboard_key_code:
        return pair.get_usage_page() == zunto::hid::usage_page::apple_vendor_keyboard;
      case event_definition::any_type::apple_vendor_top_case_key_code:
        return pair.get_usage_page() == zunto::hid::usage_page::apple_vendor_top_case;
      case event_definition::any_type::pointing_button:
        return pair.get_usage_page() == zunto::hid::usage_page::button;
    }
  }
  return false;
}

bool from_event_definition::test_key_order(const std::vector<event_queue::event>& events,
                                           simultaneous_options::key_order order,
                                           const std::vector<event_definition>& definitions) {
  if (order == simultaneous_options::key_order::insensitive) {
    return true;
  }
  const auto count = definitions.size();
  for (std::size_t i = 0; i < events.size() && i < count; ++i) {
    const auto& definition =
        order == simultaneous_options::key_order::strict ? definitions[i] : definitions[count - 1 - i];
    if (!test_event(events[i], definition)) {
      return false;
    }
  }
  return true;
}

void from_json(const nlohmann::json& json, from_event_definition& value) {
  zunto::json::requires_object(json, "json");

  event_definition single;
  std::vector<event_definition> simultaneous;

  for (const auto& key_item : json.items()) {

    const auto& key = key_item.key();

    const auto& member = key_item.value();
    if (single.handle_json(key, member, json)) {
      continue;
    }
    if (key == "simultaneous") {
      zunto::json::requires_array(member, "`" + key + "`");
      for (const auto& entry : member) {
        zunto::json::requires_object(entry, "`" + key + "` entry");
        event_definition definition;
        for (const auto& entry_key_item : entry.items()) {
          const auto& entry_key = entry_key_item.key();
          const auto& entry_member = entry_key_item.value();
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

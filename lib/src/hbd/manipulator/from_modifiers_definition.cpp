#include "hbd/manipulator/from_modifiers_definition.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>

namespace hbd::manipulator {

void from_json(const nlohmann::json& json, from_modifiers_definition& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (key == "mandatory" || key == "optional") {
      (key == "mandatory" ? value.mandatory_ : value.optional_) =
          json_reading::wrap_error(key, [&] { return modifier_definition::make_modifiers(member); });
    } else if (key != "description") {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
}

namespace {

using modifier_definition::modifier;

constexpr auto first_flag = static_cast<std::uint32_t>(modifier_flag::caps_lock);
constexpr auto end_flag = static_cast<std::uint32_t>(modifier_flag::end_);

} // namespace

std::shared_ptr<std::set<modifier_flag>> from_modifiers_definition::test_modifiers(
    const modifier_flag_manager& manager) const {
  auto result = std::make_shared<std::set<modifier_flag>>();

  if (mandatory_.contains(modifier::any)) {
    for (auto i = first_flag; i < end_flag; ++i) {
      if (manager.is_pressed(static_cast<modifier_flag>(i))) {
        result->insert(static_cast<modifier_flag>(i));
      }
    }
    return result;
  }

  for (const auto m : mandatory_) {
    if (m == modifier::end_) {
      continue;
    }
    const auto [matched, flag] = test_modifier(manager, m);
    if (!matched) {
      return nullptr;
    }
    if (flag != modifier_flag::zero) {
      result->insert(flag);
    }
  }

  if (optional_.contains(modifier::any)) {
    return result;
  }

  // Any other held modifier spoils the match.
  std::set<modifier_flag> extra;
  for (auto i = first_flag; i < end_flag; ++i) {
    extra.insert(static_cast<modifier_flag>(i));
  }
  for (const auto* modifiers : {&mandatory_, &optional_}) {
    for (const auto m : *modifiers) {
      for (const auto flag : modifier_definition::get_modifier_flags(m)) {
        extra.erase(flag);
      }
    }
  }
  for (const auto flag : extra) {
    if (manager.is_pressed(flag)) {
      return nullptr;
    }
  }
  return result;
}

std::pair<bool, modifier_flag> from_modifiers_definition::test_modifier(const modifier_flag_manager& manager,
                                                                        modifier_definition::modifier m) {
  if (m == modifier::any) {
    return {true, modifier_flag::zero};
  }
  for (const auto flag : modifier_definition::get_modifier_flags(m)) {
    if (manager.is_pressed(flag)) {
      return {true, flag};
    }
  }
  return {false, modifier_flag::zero};
}

} // namespace hbd::manipulator

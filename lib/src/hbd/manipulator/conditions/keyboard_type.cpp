#include "hbd/manipulator/conditions/keyboard_type.hpp"

#include "hbd/manipulator/conditions/condition_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>

namespace hbd::manipulator::conditions {

namespace {

constexpr std::array<std::string_view, 2> type_names{"keyboard_type_if", "keyboard_type_unless"};

} // namespace

keyboard_type::keyboard_type(const nlohmann::json& json) {
  condition_reading::read(
      json, type_names, [this](std::size_t index) { type_ = static_cast<type>(index); },
      [this](const std::string& key, const nlohmann::json& value) {
        if (key != "keyboard_types") {
          return false;
        }
        zunto::json::requires_array(value, "`keyboard_types`");
        for (const auto& entry : value) {
          zunto::json::requires_string(entry, "keyboard_types entry");
          keyboard_types_.push_back(entry.get<std::string>());
        }
        return true;
      });
}

bool keyboard_type::is_fulfilled(const event_queue::entry&, const manipulator_environment& environment) const {
  const bool match =
      std::ranges::find(keyboard_types_, environment.get_virtual_hid_keyboard_keyboard_type()) != keyboard_types_.end();
  return type_ == type::keyboard_type_if ? match : !match;
}

} // namespace hbd::manipulator::conditions

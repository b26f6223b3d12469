#include "hbd/manipulator/conditions/device.hpp"

#include "hbd/device_utility.hpp"
#include "hbd/json_reading.hpp"
#include "hbd/manipulator/conditions/condition_reading.hpp"
#include "zunto/json/number.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <array>

namespace hbd::manipulator::conditions {

namespace {

constexpr std::array<std::string_view, 4> type_names{
    "device_if",
    "device_unless",
    "device_exists_if",
    "device_exists_unless",
};

template <typename T>
bool agrees(const std::optional<T>& wanted, const T& actual) {
  return !wanted || *wanted == actual;
}

} // namespace

bool device::definition::valid() const {
  return vendor_id || product_id || location_id || device_address || is_keyboard || is_pointing_device || is_game_pad ||
         is_touch_bar || is_built_in_keyboard;
}

bool device::definition::fulfilled(const device_properties& properties,
                                   const manipulator_environment& environment) const {
  if (!agrees(vendor_id, properties.get_vendor_id().value_or(zunto::hid::vendor_id::value_t{0})) ||
      !agrees(product_id, properties.get_product_id().value_or(zunto::hid::product_id::value_t{0})) ||
      !agrees(location_id, properties.get_location_id().value_or(0)) ||
      !agrees(device_address, properties.get_device_address().value_or("")) ||
      !agrees(is_keyboard, properties.get_is_keyboard().value_or(false)) ||
      !agrees(is_pointing_device, properties.get_is_pointing_device().value_or(false)) ||
      !agrees(is_game_pad, properties.get_is_game_pad().value_or(false)) ||
      !agrees(is_touch_bar, properties.get_is_built_in_touch_bar().value_or(false))) {
    return false;
  }
  if (is_built_in_keyboard) {
    if (const auto configuration = environment.get_core_configuration().lock()) {
      return *is_built_in_keyboard == device_utility::determine_is_built_in_keyboard(*configuration, properties);
    }
  }
  return true;
}

device::device(const nlohmann::json& json) {
  condition_reading::read(
      json, type_names, [this](std::size_t index) { type_ = static_cast<type>(index); },
      [this](const std::string& key, const nlohmann::json& value) {
        if (key != "identifiers") {
          return false;
        }
        zunto::json::requires_array(value, "`identifiers`");
        handle_identifiers_json(value);
        return true;
      });
}

void device::handle_identifiers_json(const nlohmann::json& json) {
  for (const auto& entry : json) {
    zunto::json::requires_object(entry, "identifiers entry");
    definition d;
    for (const auto& key_item : entry.items()) {
      const auto& key = key_item.key();
      const auto& value = key_item.value();
      const auto name = "identifiers entry `" + key + "`";
      if (key == "vendor_id") {
        zunto::json::requires_number(value, name);
        d.vendor_id = zunto::hid::vendor_id::value_t{zunto::json::unsigned_64_bit_pattern(value)};
      } else if (key == "product_id") {
        zunto::json::requires_number(value, name);
        d.product_id = zunto::hid::product_id::value_t{zunto::json::unsigned_64_bit_pattern(value)};
      } else if (key == "location_id") {
        zunto::json::requires_number(value, name);
        d.location_id = zunto::json::wrapping_number<std::int32_t>(value);
      } else if (key == "device_address") {
        zunto::json::requires_string(value, name);
        d.device_address = value.get<std::string>();
      } else if (key == "is_keyboard" || key == "is_pointing_device" || key == "is_game_pad" || key == "is_touch_bar" ||
                 key == "is_built_in_keyboard") {
        zunto::json::requires_boolean(value, name);
        auto& field = key == "is_keyboard"          ? d.is_keyboard
                      : key == "is_pointing_device" ? d.is_pointing_device
                      : key == "is_game_pad"        ? d.is_game_pad
                      : key == "is_touch_bar"       ? d.is_touch_bar
                                                    : d.is_built_in_keyboard;
        field = value.get<bool>();
      } else if (key != "description") {
        json_reading::throw_unknown_key_in(key, entry);
      }
    }
    if (d.valid()) {
      definitions_.push_back(d);
    }
  }
}

bool device::is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const {
  const auto fulfils_any = [&](const device_properties& properties) {
    for (const auto& d : definitions_) {
      if (d.fulfilled(properties, environment)) {
        return true;
      }
    }
    return false;
  };

  bool match = false;
  switch (type_) {
    case type::device_if:
    case type::device_unless:
      if (const auto properties = environment.get_device_properties_manager().find(entry.get_device_id())) {
        match = fulfils_any(*properties);
      }
      return type_ == type::device_if ? match : !match;
    case type::device_exists_if:
    case type::device_exists_unless:
      for (const auto& [id, properties] : environment.get_device_properties_manager().get_device_properties()) {
        if (properties && fulfils_any(*properties)) {
          match = true;
          break;
        }
      }
      return type_ == type::device_exists_if ? match : !match;
  }
  return false;
}

} // namespace hbd::manipulator::conditions

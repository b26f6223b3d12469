#pragma once

#include "zunto/hid/country_code.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>

namespace hbd::core_configuration::details {

// A profile's "virtual_hid_keyboard" settings.
class virtual_hid_keyboard final {
public:
  virtual_hid_keyboard() = default;

  const nlohmann::json& get_json() const { return json_; }
  void set_json(const nlohmann::json& json) { json_ = json; }

  zunto::hid::country_code::value_t get_country_code() const { return country_code_; }
  void set_country_code(zunto::hid::country_code::value_t value) { country_code_ = value; }
  std::int32_t get_mouse_key_xy_scale() const { return mouse_key_xy_scale_; }
  void set_mouse_key_xy_scale(std::int32_t value) { mouse_key_xy_scale_ = value; }
  bool get_indicate_sticky_modifier_keys_state() const { return indicate_sticky_modifier_keys_state_; }
  void set_indicate_sticky_modifier_keys_state(bool value) { indicate_sticky_modifier_keys_state_ = value; }

private:
  nlohmann::json json_ = nlohmann::json::object();
  zunto::hid::country_code::value_t country_code_{0};
  std::int32_t mouse_key_xy_scale_ = 100;
  bool indicate_sticky_modifier_keys_state_ = true;
};

// Keys the value lacks keep the record's values. Throws zunto::json::unmarshal_error; the
// fields read before the error stay.
void from_json(const nlohmann::json& json, virtual_hid_keyboard& keyboard);
void to_json(nlohmann::json& json, const virtual_hid_keyboard& keyboard);

} // namespace hbd::core_configuration::details

#pragma once

#include "zunto/osx/iokit_keyboard_type.hpp"
#include "zunto/osx/system_preferences/keyboard_type_key.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <map>

namespace zunto::osx::system_preferences {

// The system preferences that rules may test.
class properties final {
public:
  using keyboard_types_t = std::map<keyboard_type_key, iokit_keyboard_type::value_t>;

  bool get_use_fkeys_as_standard_function_keys() const { return use_fkeys_as_standard_function_keys_; }
  void set_use_fkeys_as_standard_function_keys(bool value) { use_fkeys_as_standard_function_keys_ = value; }

  bool get_scroll_direction_is_natural() const { return scroll_direction_is_natural_; }
  void set_scroll_direction_is_natural(bool value) { scroll_direction_is_natural_ = value; }

  const keyboard_types_t& get_keyboard_types() const { return keyboard_types_; }
  void set_keyboard_types(keyboard_types_t value) { keyboard_types_ = std::move(value); }

  // Reads the preferences: a flag whose preference is missing or not a boolean keeps its value;
  // the keyboard types are replaced by the well-formed entries of the current host's setting.
  void update();

  bool operator==(const properties&) const = default;

private:
  bool use_fkeys_as_standard_function_keys_ = false;
  bool scroll_direction_is_natural_ = true;
  keyboard_types_t keyboard_types_;
};

// "keyboard_types" is an array of [key object, keyboard type] pairs in key order.
void to_json(nlohmann::json& json, const properties& value);

} // namespace zunto::osx::system_preferences

template <>
struct std::hash<zunto::osx::system_preferences::properties> {
  std::size_t operator()(const zunto::osx::system_preferences::properties& value) const noexcept;
};

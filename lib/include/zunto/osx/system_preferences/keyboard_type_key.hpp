#pragma once

#include "zunto/hid/country_code.hpp"
#include "zunto/hid/product_id.hpp"
#include "zunto/hid/vendor_id.hpp"

#include <nlohmann/json.hpp>

#include <compare>

namespace zunto::osx::system_preferences {

// Which keyboard, in which country layout, a keyboard type belongs to. Ordered member by member.
struct keyboard_type_key {
  zunto::hid::vendor_id::value_t vendor_id{0};
  zunto::hid::product_id::value_t product_id{0};
  zunto::hid::country_code::value_t country_code{0};

  auto operator<=>(const keyboard_type_key&) const = default;
};

void to_json(nlohmann::json& json, const keyboard_type_key& value);

} // namespace zunto::osx::system_preferences

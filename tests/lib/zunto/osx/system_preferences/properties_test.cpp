#include "zunto/osx/system_preferences/properties.hpp"

#include <gtest/gtest.h>

using zunto::osx::system_preferences::keyboard_type_key;
using zunto::osx::system_preferences::properties;

namespace {

keyboard_type_key key(std::uint64_t vendor_id, std::uint64_t product_id, std::uint64_t country_code) {
  return {zunto::hid::vendor_id::value_t{vendor_id}, zunto::hid::product_id::value_t{product_id},
          zunto::hid::country_code::value_t{country_code}};
}

} // namespace

TEST(system_preferences_properties, defaults_and_json) {
  EXPECT_EQ(nlohmann::json(properties()), nlohmann::json::parse(R"({
    "use_fkeys_as_standard_function_keys": false,
    "scroll_direction_is_natural": true,
    "keyboard_types": []
  })"));

  properties value;
  value.set_use_fkeys_as_standard_function_keys(true);
  value.set_scroll_direction_is_natural(false);
  // Inserted out of order; written in key order, every id as an unsigned number.
  value.set_keyboard_types({
      {key(0x16c0, 0x27db, 1), zunto::osx::iokit_keyboard_type::value_t{41}},
      {key(1452, 631, 0), zunto::osx::iokit_keyboard_type::value_t{40}},
      {key(0xffffffffffffffff, 0, 0), zunto::osx::iokit_keyboard_type::value_t{42}},
  });
  nlohmann::json json = {{"stale", 1}};
  to_json(json, value);
  EXPECT_EQ(json, nlohmann::json::parse(R"({
    "use_fkeys_as_standard_function_keys": true,
    "scroll_direction_is_natural": false,
    "keyboard_types": [
      [{"vendor_id": 1452, "product_id": 631, "country_code": 0}, 40],
      [{"vendor_id": 5824, "product_id": 10203, "country_code": 1}, 41],
      [{"vendor_id": 18446744073709551615, "product_id": 0, "country_code": 0}, 42]
    ]
  })"));
  EXPECT_TRUE(json["keyboard_types"][2][0]["vendor_id"].is_number_unsigned());
}

TEST(system_preferences_properties, keys_order_by_vendor_then_product_then_country) {
  EXPECT_LT(key(1, 9, 9), key(2, 0, 0));
  EXPECT_LT(key(1, 1, 9), key(1, 2, 0));
  EXPECT_LT(key(1, 1, 1), key(1, 1, 2));
  EXPECT_LT(key(0x7fffffffffffffff, 0, 0), key(0x8000000000000000, 0, 0));
  EXPECT_EQ(key(1, 2, 3), key(1, 2, 3));
}

TEST(system_preferences_properties, equality_compares_flags_and_every_keyboard_type) {
  properties a;
  a.set_keyboard_types({{key(1, 2, 0), zunto::osx::iokit_keyboard_type::value_t{40}}});
  properties b = a;
  EXPECT_EQ(a, b);
  b.set_scroll_direction_is_natural(false);
  EXPECT_NE(a, b);
  b = a;
  b.set_keyboard_types({{key(1, 2, 0), zunto::osx::iokit_keyboard_type::value_t{41}}});
  EXPECT_NE(a, b);
  b.set_keyboard_types({{key(1, 2, 1), zunto::osx::iokit_keyboard_type::value_t{40}}});
  EXPECT_NE(a, b);
}

#include "zunto/osx/system_preferences/properties.hpp"

#include "platform/preferences/preferences.hpp"
#include "support/files.hpp"
#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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

namespace {

// Points the preferences at a folder of the test's own and writes its stores.
class system_preferences_store : public testing::Test {
protected:
  void SetUp() override { platform::preferences::set_folder(directory_.path()); }
  void TearDown() override { platform::preferences::set_folder({}); }

  void write_global(const std::string& text) {
    write(platform::preferences::get_store_path("Apple Global Domain", platform::preferences::user::current,
                                                platform::preferences::host::any),
          text);
  }
  void write_keyboard_types(const std::string& text) {
    write(platform::preferences::get_store_path("com.apple.keyboardtype", platform::preferences::user::any,
                                                platform::preferences::host::current),
          text);
  }

private:
  static void write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    hbd_test::write_file(path, text);
  }

  hbd_test::temporary_directory directory_;
};

} // namespace

TEST_F(system_preferences_store, update_reads_the_flags_and_the_well_formed_keyboard_types) {
  write_global(R"({"com.apple.keyboard.fnState": true, "com.apple.swipescrolldirection": false})");
  write_keyboard_types(R"({"keyboardtype": {
    "631-1452-0": 40,
    "631-1452-1-9": 41,
    "27-0x5-3": -2,
    "1-2": 40,
    "1-2-": 40,
    "a-2-3": 40,
    "1-b-3": 40,
    "9-9-9": 300,
    "8-8-8": "40",
    "99999999999999999999-1-1": 40
  }})");
  properties value;
  value.set_keyboard_types({{key(5, 5, 5), zunto::osx::iokit_keyboard_type::value_t{1}}});
  value.update();

  EXPECT_TRUE(value.get_use_fkeys_as_standard_function_keys());
  EXPECT_FALSE(value.get_scroll_direction_is_natural());
  // Each part is read as far as it is a number; a negative type is widened with its sign.
  EXPECT_EQ(value.get_keyboard_types(), (properties::keyboard_types_t{
                                            {key(1452, 631, 0), zunto::osx::iokit_keyboard_type::value_t{40}},
                                            {key(1452, 631, 1), zunto::osx::iokit_keyboard_type::value_t{41}},
                                            {key(0, 27, 3), zunto::osx::iokit_keyboard_type::value_t{~1ULL}},
                                        }));
}

TEST_F(system_preferences_store, missing_or_mistyped_preferences_keep_the_defaults) {
  const char* const globals[] = {
      "{}",
      R"({"com.apple.keyboard.fnState": 1, "com.apple.swipescrolldirection": "no"})",
      "not json",
  };
  for (const char* text : globals) {
    write_global(text);
    write_keyboard_types(R"({"keyboardtype": [1, 2]})");
    properties value;
    value.update();
    EXPECT_EQ(value, properties()) << text;
    EXPECT_EQ(std::hash<properties>{}(value), std::hash<properties>{}(properties())) << text;
  }
}

TEST(system_preferences_properties, the_hash_follows_every_field) {
  properties a;
  a.set_keyboard_types({{key(1, 2, 0), zunto::osx::iokit_keyboard_type::value_t{40}}});
  std::vector<properties> others(4, a);
  others[0].set_use_fkeys_as_standard_function_keys(true);
  others[1].set_scroll_direction_is_natural(false);
  others[2].set_keyboard_types({{key(1, 2, 1), zunto::osx::iokit_keyboard_type::value_t{40}}});
  others[3].set_keyboard_types({{key(1, 2, 0), zunto::osx::iokit_keyboard_type::value_t{41}}});
  const auto hash = std::hash<properties>{}(a);
  EXPECT_EQ(hash, std::hash<properties>{}(properties(a)));
  for (const auto& other : others) {
    EXPECT_NE(hash, std::hash<properties>{}(other));
  }
}

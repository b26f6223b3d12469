#include "hbd/core_configuration/details/virtual_hid_keyboard.hpp"

#include "support/unmarshal_error_message.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

using hbd::core_configuration::details::virtual_hid_keyboard;
using nlohmann::json;

virtual_hid_keyboard read(const json& value) { return value.get<virtual_hid_keyboard>(); }

std::uint64_t country_code(const virtual_hid_keyboard& keyboard) {
  return static_cast<std::uint64_t>(keyboard.get_country_code());
}

} // namespace

TEST(virtual_hid_keyboard, defaults_and_writing) {
  const json expected = {
      {"country_code", 0}, {"mouse_key_xy_scale", 100}, {"indicate_sticky_modifier_keys_state", true}};
  EXPECT_EQ(json(virtual_hid_keyboard()), expected);
  EXPECT_EQ(json(read(json::object())), expected);
  EXPECT_TRUE(json(virtual_hid_keyboard())["country_code"].is_number_unsigned());
}

TEST(virtual_hid_keyboard, reads_numbers_and_keeps_unknown_members) {
  constexpr auto int32_max = std::numeric_limits<std::int32_t>::max();
  constexpr auto uint64_max = std::numeric_limits<std::uint64_t>::max();
  const struct {
    json value;
    std::uint64_t country_code;
    std::int32_t scale;
  } cases[] = {
      {json{{"country_code", 33}, {"mouse_key_xy_scale", 150.7}}, 33, 150},
      {json{{"country_code", 2.9}, {"mouse_key_xy_scale", -5}}, 2, 0},
      {json{{"country_code", -1}, {"mouse_key_xy_scale", 1e300}}, uint64_max, int32_max},
      {json{{"country_code", -1.9}, {"mouse_key_xy_scale", 0}}, 0, 0},
      {json{{"country_code", 1e300}, {"mouse_key_xy_scale", -1e300}}, uint64_max, 0},
      {json{{"country_code", uint64_max}, {"mouse_key_xy_scale", uint64_max}}, uint64_max, int32_max},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.dump());
    auto keyboard = read(c.value);
    EXPECT_EQ(country_code(keyboard), c.country_code);
    EXPECT_EQ(keyboard.get_mouse_key_xy_scale(), c.scale);
  }

  auto keyboard = read(json::parse(R"({"indicate_sticky_modifier_keys_state": false, "future": [1]})"));
  EXPECT_FALSE(keyboard.get_indicate_sticky_modifier_keys_state());
  EXPECT_EQ(json(keyboard)["future"], json::array({1}));
}

TEST(virtual_hid_keyboard, reading_errors_keep_the_fields_read_before) {
  const struct {
    json value;
    const char* message;
  } cases[] = {
      {json(1), "json must be object, but is `1`"},
      {json{{"country_code", "1"}}, R"(json must be number, but is `"1"`)"},
      {json{{"mouse_key_xy_scale", nullptr}}, "`mouse_key_xy_scale` must be number, but is `null`"},
      {json{{"indicate_sticky_modifier_keys_state", 0}},
       "`indicate_sticky_modifier_keys_state` must be boolean, but is `0`"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.dump());
    virtual_hid_keyboard keyboard;
    EXPECT_EQ(hbd_test::unmarshal_error_message([&] { from_json(c.value, keyboard); }), c.message);
  }

  virtual_hid_keyboard keyboard;
  EXPECT_THROW(from_json(json{{"country_code", 5}, {"mouse_key_xy_scale", "x"}}, keyboard),
               zunto::json::unmarshal_error);
  EXPECT_EQ(country_code(keyboard), 5u);
  EXPECT_EQ(keyboard.get_json(), json::object());
}

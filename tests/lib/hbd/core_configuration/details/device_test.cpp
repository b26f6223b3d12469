#include "hbd/core_configuration/details/device.hpp"

#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using hbd::core_configuration::details::device;
using nlohmann::json;

std::string error_of(const json& value) {
  return hbd_test::unmarshal_error_message([&] { device d(value); });
}

} // namespace

TEST(device, an_empty_entry_has_zero_identifiers_and_writes_every_flag) {
  device d(json::object());
  EXPECT_EQ(d.get_identifiers(), hbd::device_identifiers());
  EXPECT_FALSE(d.get_ignore());
  EXPECT_FALSE(d.get_manipulate_caps_lock_led());
  EXPECT_EQ(d.get_fn_function_keys().get_pairs().size(), 12u);
  EXPECT_EQ(d.to_json(), json::parse(R"({
    "identifiers": {"vendor_id": 0, "product_id": 0, "is_keyboard": false, "is_pointing_device": false,
                    "is_game_pad": false},
    "ignore": false, "manipulate_caps_lock_led": false, "treat_as_built_in_keyboard": false,
    "disable_built_in_keyboard_if_exists": false, "mouse_flip_x": false, "mouse_flip_y": false,
    "mouse_flip_vertical_wheel": false, "mouse_flip_horizontal_wheel": false, "mouse_swap_xy": false,
    "mouse_swap_wheels": false, "game_pad_swap_sticks": false,
    "simple_modifications": [], "fn_function_keys": []
  })"));
}

TEST(device, defaults_follow_the_kind_of_device) {
  const struct {
    const char* entry;
    bool ignore;
    bool manipulate_caps_lock_led;
  } cases[] = {
      {R"({"identifiers": {"is_pointing_device": true}})", true, false},
      {R"({"identifiers": {"is_game_pad": true}})", true, false},
      {R"({"identifiers": {"is_pointing_device": true}, "ignore": false})", false, false},
      {R"({"identifiers": {"vendor_id": 4176, "is_keyboard": true}})", true, true},
      {R"({"identifiers": {"vendor_id": 4177, "is_keyboard": true}})", false, true},
      {R"({"identifiers": {"is_keyboard": true}, "manipulate_caps_lock_led": false})", false, false},
      {R"({"identifiers": {"is_keyboard": false}, "manipulate_caps_lock_led": true, "ignore": true})", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    device d(json::parse(c.entry));
    EXPECT_EQ(d.get_ignore(), c.ignore);
    EXPECT_EQ(d.get_manipulate_caps_lock_led(), c.manipulate_caps_lock_led);
    EXPECT_EQ(d.to_json()["ignore"], c.ignore);
  }
}

TEST(device, treat_as_built_in_keyboard_clears_disable_built_in_keyboard) {
  device d(json::parse(R"({"treat_as_built_in_keyboard": true, "disable_built_in_keyboard_if_exists": true})"));
  EXPECT_TRUE(d.get_treat_as_built_in_keyboard());
  EXPECT_FALSE(d.get_disable_built_in_keyboard_if_exists());
  EXPECT_EQ(d.to_json()["disable_built_in_keyboard_if_exists"], false);

  // The transition-duration setter restores the rule after a direct change.
  d.set_disable_built_in_keyboard_if_exists(true);
  d.set_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(std::nullopt);
  EXPECT_FALSE(d.get_disable_built_in_keyboard_if_exists());
}

TEST(device, game_pad_numbers_and_their_writing) {
  device d(json::parse(R"({
    "game_pad_stick_stroke_acceleration_transition_duration_milliseconds": 250.9,
    "game_pad_stick_stroke_release_detection_threshold_milliseconds": -7,
    "game_pad_stick_stroke_acceleration_measurement_duration_milliseconds": 1e300,
    "game_pad_xy_stick_deadzone": 0.25,
    "game_pad_wheels_stick_deadzone": 1
  })"));
  EXPECT_EQ(d.get_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(), 250);
  EXPECT_EQ(d.get_game_pad_stick_stroke_release_detection_threshold_milliseconds(), -7);
  // Out of range saturates.
  EXPECT_EQ(d.get_game_pad_stick_stroke_acceleration_measurement_duration_milliseconds(),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(d.get_game_pad_xy_stick_deadzone(), 0.25);

  auto written = d.to_json();
  EXPECT_EQ(written["game_pad_stick_stroke_acceleration_transition_duration_milliseconds"], 250);
  EXPECT_EQ(written["game_pad_xy_stick_deadzone"], 0.25);
  EXPECT_TRUE(written["game_pad_wheels_stick_deadzone"].is_number_float());

  d.set_game_pad_wheels_stick_deadzone(std::nullopt);
  d.set_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(-1e300);
  EXPECT_EQ(d.get_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(),
            std::numeric_limits<std::int32_t>::min());
  d.set_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(std::nullopt);
  written = d.to_json();
  EXPECT_FALSE(written.contains("game_pad_wheels_stick_deadzone"));
  EXPECT_FALSE(written.contains("game_pad_stick_stroke_acceleration_transition_duration_milliseconds"));
}

TEST(device, formulas_read_and_write_in_their_two_forms) {
  const struct {
    json value;
    std::string text;
    json written;
  } cases[] = {
      {json::array({"a", "b"}), "a\nb", json::array({"a", "b"})},
      {"a", "a", "a"},
      {json::array(), "", json::array()},
      {"a\nb\n", "a\nb\n", json::array({"a", "b"})},
      {"a\n", "a\n", "a\n"},
      {json::array({"a", ""}), "a\n", "a\n"},
      {"\n", "\n", "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.dump());
    EXPECT_EQ(device::unmarshal_formula(c.value, "k"), c.text);
    EXPECT_EQ(device::marshal_formula(c.text), c.written);

    device d(json{{"game_pad_stick_x_formula", c.value}});
    EXPECT_EQ(d.get_game_pad_stick_x_formula(), c.text);
    EXPECT_EQ(d.to_json()["game_pad_stick_x_formula"], c.written);
  }
}

TEST(device, reading_errors) {
  const struct {
    json value;
    std::string message;
  } cases[] = {
      {json(1), "json must be object, but is `1`"},
      {json{{"ignore", 1}}, "`ignore` must be boolean, but is `1`"},
      {json{{"mouse_swap_wheels", "true"}}, R"(`mouse_swap_wheels` must be boolean, but is `"true"`)"},
      {json{{"game_pad_xy_stick_deadzone", "0.1"}}, R"(`game_pad_xy_stick_deadzone` must be number, but is `"0.1"`)"},
      {json{{"game_pad_stick_stroke_release_detection_threshold_milliseconds", true}},
       "`game_pad_stick_stroke_release_detection_threshold_milliseconds` must be number, but is `true`"},
      {json{{"game_pad_stick_x_formula", 5}},
       "`game_pad_stick_x_formula` must be array of string, or string, but is `5`"},
      {json{{"game_pad_stick_y_formula", json::array({"a", 1})}},
       R"(`game_pad_stick_y_formula` must be array of string, or string, but is `["a",1]`)"},
      {json{{"identifiers", 1}}, "`identifiers` error: json must be object, but is `1`"},
      {json{{"identifiers", {{"vendor_id", "x"}}}}, R"(`identifiers` error: `vendor_id` must be number, but is `"x"`)"},
      {json{{"simple_modifications", 1}}, "`simple_modifications` error: json must be array or object, but is `1`"},
      {json{{"fn_function_keys", nullptr}}, "`fn_function_keys` error: json must be array or object, but is `null`"},
      // The first bad member in name order decides.
      {json{{"mouse_flip_x", 1}, {"ignore", 2}}, "`ignore` must be boolean, but is `2`"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.dump());
    EXPECT_EQ(error_of(c.value), c.message);
  }
}

TEST(device, keeps_unknown_members_and_lists) {
  auto value = json::parse(R"({
    "future": {"x": [1, 2]},
    "identifiers": {"vendor_id": 1452, "product_id": 610, "is_keyboard": true, "extra": 1},
    "simple_modifications": [{"from": {"key_code": "a"}, "to": [{"key_code": "b"}]}],
    "fn_function_keys": [{"from": {"key_code": "f3"}, "to": [{"key_code": "mission_control"}]}],
    "mouse_flip_y": true
  })");
  device d(value);
  auto written = d.to_json();
  EXPECT_EQ(written["future"], value["future"]);
  EXPECT_EQ(written["identifiers"]["extra"], 1);
  EXPECT_EQ(written["simple_modifications"], value["simple_modifications"]);
  // Only function keys with a "to" are written.
  EXPECT_EQ(written["fn_function_keys"], value["fn_function_keys"]);
  EXPECT_EQ(written["mouse_flip_y"], true);
  EXPECT_EQ(d.get_fn_function_keys().get_pairs().size(), 12u);

  // A written entry reads back to the same entry.
  EXPECT_EQ(device(written).to_json(), written);
}

TEST(device, default_function_keys) {
  auto keys = device::make_default_fn_function_keys_json();
  ASSERT_EQ(keys.size(), 12u);
  EXPECT_EQ(keys[0], json::parse(R"({"from": {"key_code": "f1"}, "to": {}})"));
  EXPECT_EQ(keys[11], json::parse(R"({"from": {"key_code": "f12"}, "to": {}})"));
}

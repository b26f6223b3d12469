#include "hbd/core_configuration/details/profile.hpp"

#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using hbd::device_identifiers;
using hbd::core_configuration::details::profile;
using nlohmann::json;
using zunto::hid::product_id::value_t;

const device_identifiers keyboard(zunto::hid::vendor_id::value_t{0x05ac}, value_t{0x0250}, true, false, false, "");
const device_identifiers mouse(zunto::hid::vendor_id::value_t{0x046d}, value_t{0xc52b}, false, true, false, "");
const device_identifiers game_pad(zunto::hid::vendor_id::value_t{0x054c}, value_t{0x09cc}, false, false, true, "");

std::string error_of(const json& value) {
  return hbd_test::unmarshal_error_message([&] { profile p(value); });
}

json device_entry(const device_identifiers& identifiers, json members = json::object()) {
  members["identifiers"] = identifiers;
  return members;
}

} // namespace

TEST(profile, an_empty_object_gives_every_default_and_writes_all_eight_members) {
  profile p(json::object());
  EXPECT_EQ(p.get_name(), "");
  EXPECT_FALSE(p.get_selected());
  EXPECT_EQ(p.get_parameters().get_delay_milliseconds_before_open_device(), std::chrono::milliseconds(1000));
  EXPECT_TRUE(p.get_simple_modifications().get_pairs().empty());
  EXPECT_EQ(p.get_fn_function_keys().to_json(), profile::make_default_fn_function_keys_json());
  EXPECT_TRUE(p.get_complex_modifications().get_rules().empty());
  EXPECT_TRUE(p.get_devices().empty());

  const auto written = p.to_json();
  EXPECT_EQ(written.size(), 8u);
  EXPECT_EQ(written["name"], "");
  EXPECT_EQ(written["selected"], false);
  EXPECT_EQ(written["parameters"], json::parse(R"({"delay_milliseconds_before_open_device": 1000})"));
  EXPECT_EQ(written["simple_modifications"], json::array());
  EXPECT_EQ(written["fn_function_keys"].size(), 12u);
  EXPECT_EQ(written["complex_modifications"], hbd::core_configuration::details::complex_modifications().to_json());
  EXPECT_EQ(
      written["virtual_hid_keyboard"],
      json::parse(R"({"country_code": 0, "mouse_key_xy_scale": 100, "indicate_sticky_modifier_keys_state": true})"));
  EXPECT_EQ(written["devices"], json::array());
}

TEST(profile, the_default_function_keys_map_f1_to_f12_to_their_printed_functions) {
  EXPECT_EQ(profile::make_default_fn_function_keys_json(), json::parse(R"([
    {"from": {"key_code": "f1"}, "to": [{"consumer_key_code": "display_brightness_decrement"}]},
    {"from": {"key_code": "f2"}, "to": [{"consumer_key_code": "display_brightness_increment"}]},
    {"from": {"key_code": "f3"}, "to": [{"apple_vendor_keyboard_key_code": "mission_control"}]},
    {"from": {"key_code": "f4"}, "to": [{"apple_vendor_keyboard_key_code": "spotlight"}]},
    {"from": {"key_code": "f5"}, "to": [{"consumer_key_code": "dictation"}]},
    {"from": {"key_code": "f6"}, "to": [{"key_code": "f6"}]},
    {"from": {"key_code": "f7"}, "to": [{"consumer_key_code": "rewind"}]},
    {"from": {"key_code": "f8"}, "to": [{"consumer_key_code": "play_or_pause"}]},
    {"from": {"key_code": "f9"}, "to": [{"consumer_key_code": "fast_forward"}]},
    {"from": {"key_code": "f10"}, "to": [{"consumer_key_code": "mute"}]},
    {"from": {"key_code": "f11"}, "to": [{"consumer_key_code": "volume_decrement"}]},
    {"from": {"key_code": "f12"}, "to": [{"consumer_key_code": "volume_increment"}]}
  ])"));

  // Remapping one key keeps the eleven others.
  profile p(json::parse(R"({"fn_function_keys": [{"from": {"key_code": "f1"}, "to": [{"key_code": "a"}]}]})"));
  const auto keys = p.to_json()["fn_function_keys"];
  ASSERT_EQ(keys.size(), 12u);
  EXPECT_EQ(keys[0], json::parse(R"({"from": {"key_code": "f1"}, "to": [{"key_code": "a"}]})"));
  EXPECT_EQ(keys[11], profile::make_default_fn_function_keys_json()[11]);
}

TEST(profile, reads_its_members_and_keeps_the_ones_it_does_not_know) {
  profile p(json::parse(R"({
    "name": "Default profile", "selected": true, "unknown": {"kept": [1, 2]},
    "parameters": {"delay_milliseconds_before_open_device": 250, "future": "x"},
    "simple_modifications": [{"from": {"key_code": "a"}, "to": [{"key_code": "b"}]}],
    "virtual_hid_keyboard": {"country_code": 1, "extra": true},
    "devices": [{"identifiers": {"vendor_id": 1, "product_id": 2, "is_keyboard": true}, "note": "mine"}]
  })"));
  EXPECT_EQ(p.get_name(), "Default profile");
  EXPECT_TRUE(p.get_selected());
  EXPECT_EQ(p.get_parameters().get_delay_milliseconds_before_open_device(), std::chrono::milliseconds(250));
  ASSERT_EQ(p.get_devices().size(), 1u);

  const auto written = p.to_json();
  EXPECT_EQ(written["unknown"], json::parse(R"({"kept": [1, 2]})"));
  EXPECT_EQ(written["parameters"], json::parse(R"({"delay_milliseconds_before_open_device": 250, "future": "x"})"));
  EXPECT_EQ(written["simple_modifications"].size(), 1u);
  EXPECT_EQ(written["virtual_hid_keyboard"]["extra"], true);
  EXPECT_EQ(written["devices"][0]["note"], "mine");
}

TEST(profile, the_delay_is_cut_toward_zero_and_not_range_checked) {
  const struct {
    const char* value;
    long long milliseconds;
  } cases[] = {{"2.9", 2}, {"-5", -5}, {"0", 0}, {"-2.9", -2}, {"1e300", 2147483647}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    profile p(
        json::parse(std::string(R"({"parameters": {"delay_milliseconds_before_open_device": )") + c.value + "}}"));
    EXPECT_EQ(p.get_parameters().get_delay_milliseconds_before_open_device().count(), c.milliseconds);
    EXPECT_EQ(p.to_json()["parameters"]["delay_milliseconds_before_open_device"], c.milliseconds);
  }
}

TEST(profile, a_bad_member_fails_the_profile_with_a_message_naming_it) {
  const struct {
    const char* value;
    const char* message;
  } cases[] = {
      {"1", "json must be object, but is `1`"},
      {"[]", "json must be object, but is `[]`"},
      {R"({"name": 1})", "`name` must be string, but is `1`"},
      {R"({"selected": "yes"})", "`selected` must be boolean, but is `\"yes\"`"},
      {R"({"parameters": []})", "`parameters` error: json must be object, but is `[]`"},
      {R"({"parameters": {"delay_milliseconds_before_open_device": "x"}})",
       "`parameters` error: `delay_milliseconds_before_open_device` must be number, but is `\"x\"`"},
      {R"({"devices": {}})", "`devices` must be array, but is `{}`"},
      {R"({"devices": [{}, 1]})", "`devices` entry error: json must be object, but is `1`"},
      {R"({"simple_modifications": 1})", "`simple_modifications` error: json must be array or object, but is `1`"},
      {R"({"fn_function_keys": "f1"})", "`fn_function_keys` error: json must be array or object, but is `\"f1\"`"},
      {R"({"complex_modifications": 1})", "`complex_modifications` error: json must be object, but is `1`"},
      {R"({"virtual_hid_keyboard": []})", "`virtual_hid_keyboard` error: json must be object, but is `[]`"},
      // The first bad member in name order decides.
      {R"({"name": 1, "devices": [1]})", "`devices` entry error: json must be object, but is `1`"},
      {R"({"virtual_hid_keyboard": [], "selected": 1, "parameters": 1})",
       "`parameters` error: json must be object, but is `1`"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(error_of(json::parse(c.value)), c.message);
  }
}

TEST(profile, a_moved_from_profile_can_be_assigned_and_destroyed) {
  profile source(json::parse(R"({"name": "a", "devices": [{}]})"));
  profile target(std::move(source));
  EXPECT_EQ(target.get_name(), "a");
  EXPECT_EQ(target.get_devices().size(), 1u);

  source = profile(json::parse(R"({"name": "b"})"));
  EXPECT_EQ(source.get_name(), "b");
  target = std::move(source);
  EXPECT_EQ(target.get_name(), "b");
}

TEST(profile, reading_a_device_without_a_record_gives_the_defaults_of_a_new_record_and_adds_nothing) {
  profile p(json::object());
  EXPECT_TRUE(p.get_device_ignore(game_pad));
  EXPECT_TRUE(p.get_device_ignore(mouse));
  EXPECT_FALSE(p.get_device_ignore(keyboard));
  EXPECT_TRUE(p.get_device_manipulate_caps_lock_led(keyboard));
  EXPECT_FALSE(p.get_device_manipulate_caps_lock_led(mouse));
  EXPECT_FALSE(p.get_device_treat_as_built_in_keyboard(keyboard));
  EXPECT_FALSE(p.has_device_game_pad_xy_stick_deadzone(game_pad));
  EXPECT_EQ(p.get_device_game_pad_xy_stick_deadzone(game_pad), 0.1);
  EXPECT_EQ(p.get_device_game_pad_wheels_stick_deadzone(game_pad), 0.1);
  EXPECT_EQ(p.get_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad), 500);
  EXPECT_TRUE(p.get_devices().empty());

  // A matching record without a value gives the same defaults.
  p.add_device(game_pad);
  EXPECT_FALSE(p.has_device_game_pad_xy_stick_deadzone(game_pad));
  EXPECT_EQ(p.get_device_game_pad_xy_stick_deadzone(game_pad), 0.1);
  EXPECT_EQ(p.get_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad), 500);
}

TEST(profile, changing_a_device_adds_its_record_once) {
  profile p(json::object());
  p.set_device_mouse_flip_x(keyboard, true);
  ASSERT_EQ(p.get_devices().size(), 1u);
  EXPECT_TRUE(p.get_devices()[0].get_manipulate_caps_lock_led());
  EXPECT_TRUE(p.get_devices()[0].get_mouse_flip_x());

  p.set_device_mouse_flip_x(keyboard, false);
  p.set_device_mouse_swap_wheels(keyboard, true);
  p.add_device(keyboard);
  ASSERT_EQ(p.get_devices().size(), 1u);
  EXPECT_FALSE(p.get_devices()[0].get_mouse_flip_x());
  EXPECT_TRUE(p.get_devices()[0].get_mouse_swap_wheels());

  // The device's own lists, reached through a new record for another device.
  auto* list = p.find_simple_modifications(mouse);
  ASSERT_NE(list, nullptr);
  list->push_back_pair();
  ASSERT_EQ(p.get_devices().size(), 2u);
  EXPECT_EQ(&p.get_devices()[1].get_simple_modifications(), list);
  EXPECT_EQ(p.find_fn_function_keys(mouse), &p.get_devices()[1].get_fn_function_keys());
  EXPECT_EQ(p.get_devices().size(), 2u);
}

TEST(profile, treating_a_device_as_the_built_in_keyboard_clears_disabling_it) {
  profile p(json::object());
  p.set_device_treat_as_built_in_keyboard(keyboard, true);
  p.set_device_disable_built_in_keyboard_if_exists(keyboard, true);
  EXPECT_FALSE(p.get_devices()[0].get_disable_built_in_keyboard_if_exists());

  profile q(json::object());
  q.set_device_disable_built_in_keyboard_if_exists(keyboard, true);
  EXPECT_TRUE(q.get_devices()[0].get_disable_built_in_keyboard_if_exists());
  q.set_device_treat_as_built_in_keyboard(keyboard, true);
  EXPECT_TRUE(q.get_device_treat_as_built_in_keyboard(keyboard));
  EXPECT_FALSE(q.get_devices()[0].get_disable_built_in_keyboard_if_exists());
}

TEST(profile, game_pad_options_are_set_cleared_and_found_past_records_without_a_value) {
  // Two records for one device, told apart only by their raw JSON: the first is used, and the
  // game-pad lookups pass over it while it holds no value.
  json value = json::object();
  value["devices"] = json::array(
      {device_entry(game_pad, {{"ignore", false}}),
       device_entry(game_pad, {{"ignore", true},
                               {"game_pad_xy_stick_deadzone", 0.3},
                               {"game_pad_wheels_stick_deadzone", 0.4},
                               {"game_pad_stick_stroke_acceleration_transition_duration_milliseconds", 250}})});
  value["devices"][0]["identifiers"]["extra"] = "raw JSON does not count";
  profile p(value);
  EXPECT_FALSE(p.get_device_ignore(game_pad));
  EXPECT_TRUE(p.has_device_game_pad_xy_stick_deadzone(game_pad));
  EXPECT_EQ(p.get_device_game_pad_xy_stick_deadzone(game_pad), 0.3);
  EXPECT_EQ(p.get_device_game_pad_wheels_stick_deadzone(game_pad), 0.4);
  EXPECT_EQ(p.get_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad), 250);

  // Setting goes to the first record.
  p.set_device_game_pad_xy_stick_deadzone(game_pad, 0.2);
  p.set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad, 700);
  EXPECT_EQ(p.get_devices()[0].get_game_pad_xy_stick_deadzone(), 0.2);
  EXPECT_EQ(p.get_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad), 700);

  // Clearing removes the key from what is written.
  profile q(
      json::parse(R"({"devices": [{"identifiers": {"is_game_pad": true}, "game_pad_wheels_stick_deadzone": 0.5}]})"));
  const device_identifiers bare_game_pad({}, {}, false, false, true, "");
  EXPECT_TRUE(q.has_device_game_pad_wheels_stick_deadzone(bare_game_pad));
  q.set_device_game_pad_wheels_stick_deadzone(bare_game_pad, std::nullopt);
  q.set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(bare_game_pad, std::nullopt);
  EXPECT_FALSE(q.has_device_game_pad_wheels_stick_deadzone(bare_game_pad));
  const auto written = q.to_json()["devices"][0];
  EXPECT_FALSE(written.contains("game_pad_wheels_stick_deadzone"));
  EXPECT_FALSE(written.contains("game_pad_stick_stroke_acceleration_transition_duration_milliseconds"));
}

TEST(profile, each_device_setter_changes_its_own_setting_and_no_other) {
  using setter = void (profile::*)(const device_identifiers&, bool);
  const std::vector<std::pair<const char*, setter>> setters = {
      {"ignore", &profile::set_device_ignore},
      {"manipulate_caps_lock_led", &profile::set_device_manipulate_caps_lock_led},
      {"treat_as_built_in_keyboard", &profile::set_device_treat_as_built_in_keyboard},
      {"disable_built_in_keyboard_if_exists", &profile::set_device_disable_built_in_keyboard_if_exists},
      {"mouse_flip_x", &profile::set_device_mouse_flip_x},
      {"mouse_flip_y", &profile::set_device_mouse_flip_y},
      {"mouse_flip_vertical_wheel", &profile::set_device_mouse_flip_vertical_wheel},
      {"mouse_flip_horizontal_wheel", &profile::set_device_mouse_flip_horizontal_wheel},
      {"mouse_swap_xy", &profile::set_device_mouse_swap_xy},
      {"mouse_swap_wheels", &profile::set_device_mouse_swap_wheels},
      {"game_pad_swap_sticks", &profile::set_device_game_pad_swap_sticks},
  };
  // Every switch of the written record, by the name the setter is for.
  const auto switches = [&](const profile& p) {
    std::map<std::string, bool> values;
    const auto written = p.to_json()["devices"][0];
    for (const auto& [name, ignored] : setters) {
      values[name] = written.at(name).get<bool>();
    }
    return values;
  };
  const auto defaults = [&] {
    profile p(json::object());
    p.add_device(keyboard);
    return switches(p);
  }();

  for (const auto& [name, set] : setters) {
    SCOPED_TRACE(name);
    profile p(json::object());
    (p.*set)(keyboard, !defaults.at(name));
    auto expected = defaults;
    expected[name] = !defaults.at(name);
    EXPECT_EQ(switches(p), expected);
  }
}

TEST(profile, the_transition_duration_is_present_only_while_a_record_holds_one) {
  profile p(json::object());
  EXPECT_FALSE(p.has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad));
  p.set_device_game_pad_xy_stick_deadzone(game_pad, 0.2);
  p.set_device_game_pad_wheels_stick_deadzone(game_pad, 0.3);
  EXPECT_FALSE(p.has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad));

  p.set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad, 300);
  EXPECT_TRUE(p.has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad));
  EXPECT_FALSE(p.has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(mouse));
  p.set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad, std::nullopt);
  EXPECT_FALSE(p.has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(game_pad));
  EXPECT_TRUE(p.has_device_game_pad_xy_stick_deadzone(game_pad));
}

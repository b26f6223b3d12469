// Modifier flags, sticky modifiers, mouse keys, software functions, variables and notification
// messages as rules give them.

#include "hbd/manipulator_environment_variable_set_variable.hpp"
#include "hbd/modifier_flag.hpp"
#include "hbd/mouse_key.hpp"
#include "hbd/notification_message.hpp"
#include "hbd/pointing_motion.hpp"
#include "hbd/software_function.hpp"
#include "hbd/sticky_modifier_type.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <string>
#include <utility>

namespace {

using nlohmann::json;
using position_value = hbd::software_function_details::set_mouse_cursor_position::position_value;
using position_type = position_value::position_type;

template <typename T>
T read(const json& value, T initial = T{}) {
  // The variable value is a standard variant, which argument lookup does not connect to hbd.
  using hbd::from_json;
  from_json(value, initial);
  return initial;
}

template <typename T>
std::string error_of(const json& value) {
  return hbd_test::unmarshal_error_message([&] { read<T>(value); });
}

TEST(event_values, modifier_flags_and_sticky_types) {
  EXPECT_EQ(read<hbd::modifier_flag>("left_shift"), hbd::modifier_flag::left_shift);
  EXPECT_EQ(read<hbd::modifier_flag>("fn"), hbd::modifier_flag::fn);
  EXPECT_EQ(read<hbd::modifier_flag>("zero"), hbd::modifier_flag::zero);
  EXPECT_EQ(error_of<hbd::modifier_flag>("shift"), "unknown modifier_flag: `shift`");
  EXPECT_EQ(error_of<hbd::modifier_flag>(1), "json must be string, but is `1`");

  EXPECT_EQ(read<hbd::sticky_modifier_type>("toggle"), hbd::sticky_modifier_type::toggle);
  EXPECT_EQ(read<hbd::sticky_modifier_type>("off"), hbd::sticky_modifier_type::off);
  EXPECT_EQ(error_of<hbd::sticky_modifier_type>("Toggle"), "unknown value: `Toggle`");
}

TEST(event_values, mouse_keys) {
  EXPECT_EQ(read<hbd::mouse_key>(json::object()), hbd::mouse_key{});
  EXPECT_EQ(read<hbd::mouse_key>(json::object()).speed_multiplier, 1.0);
  EXPECT_EQ(read<hbd::mouse_key>({{"speed_multiplier", 2}}).speed_multiplier, 2.0);
  EXPECT_EQ(read<hbd::mouse_key>({{"x", 10}, {"y", -3.7}, {"vertical_wheel", 4294967297}, {"horizontal_wheel", 1e12}}),
            (hbd::mouse_key{10, -3, 1, 2147483647, 1.0}));
  // The fields not named are kept.
  EXPECT_EQ(read<hbd::mouse_key>({{"y", 2}}, hbd::mouse_key{1, 0, 0, 0, 3.0}), (hbd::mouse_key{1, 2, 0, 0, 3.0}));
  EXPECT_EQ(error_of<hbd::mouse_key>({{"x", "1"}}), "`x` must be number, but is `\"1\"`");
  EXPECT_EQ(error_of<hbd::mouse_key>({{"speed_multiplier", true}}), "`speed_multiplier` must be number, but is `true`");
  EXPECT_EQ(error_of<hbd::mouse_key>({{"z", 1}}), "unknown key: `z`");
  EXPECT_EQ(error_of<hbd::mouse_key>(json::array()), "json must be object, but is `[]`");
}

TEST(event_values, software_functions) {
  namespace details = hbd::software_function_details;
  EXPECT_EQ(read<hbd::software_function>(json::object()).get_value().index(), 3u);

  const auto sleep = read<hbd::software_function>({{"iokit_power_management_sleep_system", json::object()}});
  ASSERT_TRUE(std::holds_alternative<details::iokit_power_management_sleep_system>(sleep.get_value()));
  EXPECT_EQ(std::get<details::iokit_power_management_sleep_system>(sleep.get_value()).delay_milliseconds,
            std::chrono::milliseconds(500));

  // The key that sorts last decides.
  const auto two = read<hbd::software_function>(
      {{"cg_event_double_click", {{"button", 1}}}, {"set_mouse_cursor_position", {{"x", 5}, {"screen", 1}}}});
  ASSERT_TRUE(std::holds_alternative<details::set_mouse_cursor_position>(two.get_value()));
  const auto& position = std::get<details::set_mouse_cursor_position>(two.get_value());
  EXPECT_EQ(position.x, (position_value{5, position_type::absolute}));
  EXPECT_EQ(position.screen, 1);

  EXPECT_EQ(error_of<hbd::software_function>({{"cg_event_double_click", {{"button", "left"}}}}),
            "`cg_event_double_click` error: `button` must be number, but is `\"left\"`");
  EXPECT_EQ(error_of<hbd::software_function>({{"set_mouse_cursor_position", {{"x", true}}}}),
            "`set_mouse_cursor_position` error: json must be number or string, but is `true`");
  EXPECT_EQ(error_of<hbd::software_function>({{"beep", json::object()}}), "unknown key: `beep`");
}

TEST(event_values, position_values) {
  const std::pair<json, position_value> rows[] = {
      {12, {12, position_type::absolute}},       {"50%", {50, position_type::percent}},
      {"120", {120, position_type::absolute}},   {"50.5%", {50, position_type::absolute}},
      {"  -7px", {-7, position_type::absolute}}, {"-2147483648", {-2147483648, position_type::absolute}},
  };
  for (const auto& [input, expected] : rows) {
    EXPECT_EQ(read<position_value>(input), expected) << input.dump();
  }
  EXPECT_EQ(error_of<position_value>("abc"), "unsupported format: `abc`");
  EXPECT_EQ(error_of<position_value>("99999999999%"), "unsupported format: `99999999999%`");
  EXPECT_EQ(error_of<position_value>("%"), "unsupported format: `%`");
  EXPECT_EQ(error_of<position_value>(true), "json must be number or string, but is `true`");
}

TEST(event_values, variables) {
  EXPECT_EQ(read<hbd::manipulator_environment_variable_value>(1.9), hbd::manipulator_environment_variable_value(1));
  EXPECT_EQ(read<hbd::manipulator_environment_variable_value>(true), hbd::manipulator_environment_variable_value(true));
  EXPECT_EQ(read<hbd::manipulator_environment_variable_value>("1"),
            hbd::manipulator_environment_variable_value(std::string("1")));
  EXPECT_EQ(error_of<hbd::manipulator_environment_variable_value>(nullptr),
            "json must be number, boolean or string, but is `null`");

  for (const auto& value : {json(3), json(false), json("text")}) {
    json written;
    hbd::to_json(written, read<hbd::manipulator_environment_variable_value>(value));
    EXPECT_EQ(written, value);
  }

  using set_variable = hbd::manipulator_environment_variable_set_variable;
  const auto a = read<set_variable>({{"name", "mode"}, {"value", 1}, {"key_up_value", 0}});
  const auto b = read<set_variable>({{"name", "mode"}, {"value", 1}, {"key_up_value", 2}});
  EXPECT_EQ(a.name, "mode");
  EXPECT_NE(a, b);
  EXPECT_EQ(a, read<set_variable>({{"key_up_value", 0}, {"name", "mode"}, {"value", 1}}));
  EXPECT_EQ(std::hash<set_variable>{}(a), std::hash<set_variable>{}(set_variable(a)));
  EXPECT_EQ(read<set_variable>(json::object()), set_variable{});
  EXPECT_EQ(error_of<set_variable>({{"name", 1}}), "`name` must be string, but is `1`");
  EXPECT_EQ(error_of<set_variable>({{"value", json::array()}}), "json must be number, boolean or string, but is `[]`");
  EXPECT_EQ(error_of<set_variable>({{"type", "x"}}), "unknown key: `type`");
}

TEST(event_values, notification_messages) {
  EXPECT_EQ(read<hbd::notification_message>({{"id", "a"}, {"text", "b"}}), (hbd::notification_message{"a", "b"}));
  EXPECT_EQ(error_of<hbd::notification_message>({{"text", 5}}), "text must be string, but is `5`");
  EXPECT_EQ(error_of<hbd::notification_message>({{"title", ""}}), "unknown key: `title`");
}

TEST(event_values, equal_values_hash_alike) {
  EXPECT_EQ(std::hash<hbd::mouse_key>{}(hbd::mouse_key{1, 2, 3, 4, 0.0}),
            std::hash<hbd::mouse_key>{}(hbd::mouse_key{1, 2, 3, 4, -0.0}));
  EXPECT_NE(std::hash<hbd::mouse_key>{}(hbd::mouse_key{1, 2, 3, 4, 1.0}),
            std::hash<hbd::mouse_key>{}(hbd::mouse_key{1, 2, 3, 4, 2.0}));
  EXPECT_NE(std::hash<hbd::pointing_motion>{}({1, 0, 0, 0}), std::hash<hbd::pointing_motion>{}({0, 1, 0, 0}));
  EXPECT_NE(std::hash<hbd::notification_message>{}({"a", "b"}), std::hash<hbd::notification_message>{}({"b", "a"}));

  using position = hbd::software_function_details::set_mouse_cursor_position;
  const position a{{50, position_type::percent}, {1, position_type::absolute}, std::nullopt};
  position b = a;
  EXPECT_EQ(std::hash<position>{}(a), std::hash<position>{}(b));
  b.screen = 0;
  EXPECT_NE(a, b);
}

} // namespace

#include "hbd/complex_modifications_utility.hpp"

#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/manipulator/conditions/variable.hpp"
#include "hbd/manipulator/manipulator_factory.hpp"
#include "hbd/manipulator/manipulators/basic/basic.hpp"
#include "hbd/manipulator/manipulators/mouse_basic/mouse_basic.hpp"
#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/mouse_motion_to_scroll.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
namespace factory = hbd::manipulator::manipulator_factory;
using hbd::core_configuration::details::complex_modifications_parameters;
using hbd::core_configuration::details::complex_modifications_rule;

const complex_modifications_parameters parameters;

class manipulator_factory_test : public testing::Test {
protected:
  hbd::dispatcher_utility::scoped_dispatcher_manager manager_;
};

TEST_F(manipulator_factory_test, builds_each_manipulator_by_its_type) {
  const json from = {{"key_code", "a"}};
  EXPECT_NE(std::dynamic_pointer_cast<hbd::manipulator::manipulators::basic::basic>(
                factory::make_manipulator({{"type", "basic"}, {"from", from}}, parameters)),
            nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<hbd::manipulator::manipulators::mouse_basic::mouse_basic>(
                factory::make_manipulator({{"type", "mouse_basic"}}, parameters)),
            nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<hbd::manipulator::manipulators::mouse_motion_to_scroll::mouse_motion_to_scroll>(
                factory::make_manipulator({{"type", "mouse_motion_to_scroll"}}, parameters)),
            nullptr);

  EXPECT_EQ(hbd_test::unmarshal_error_message([&] {
              factory::make_manipulator({{"from", from}}, parameters);
            }),
            R"(`type` must be specified: {"from":{"key_code":"a"}})");
  EXPECT_EQ(hbd_test::unmarshal_error_message([&] { factory::make_manipulator(json::array(), parameters); }),
            "`type` must be specified: []");
  EXPECT_EQ(hbd_test::unmarshal_error_message([&] {
              factory::make_manipulator({{"type", "Basic"}}, parameters);
            }),
            "unknown type `Basic`");
  EXPECT_THROW(factory::make_manipulator({{"type", 1}}, parameters), json::type_error);
}

TEST_F(manipulator_factory_test, builds_each_condition_by_its_type) {
  const std::vector<json> conditions = {
      {{"type", "device_if"}},
      {{"type", "device_exists_unless"}},
      {{"type", "event_changed_if"}, {"value", true}},
      {{"type", "frontmost_application_unless"}},
      {{"type", "input_source_if"}},
      {{"type", "variable_if"}, {"name", "v"}, {"value", 1}},
      {{"type", "keyboard_type_unless"}},
  };
  for (const auto& condition : conditions) {
    EXPECT_NE(factory::make_condition(condition), nullptr) << condition.dump();
  }
  EXPECT_NE(std::dynamic_pointer_cast<hbd::manipulator::conditions::variable>(factory::make_condition(conditions[5])),
            nullptr);

  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              factory::make_condition({{"name", "v"}});
            }),
            R"(condition type is not specified in `{"name":"v"}`)");
  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              factory::make_condition({{"type", 1}});
            }),
            "condition type must be string, but is `1`");
  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              factory::make_condition({{"type", "device"}});
            }),
            R"(unknown condition type `device` in `{"type":"device"}`)");
}

TEST_F(manipulator_factory_test, lint_rule_gives_one_message_per_failing_manipulator) {
  const complex_modifications_rule rule(json::parse(R"({
    "description": "Lint me",
    "manipulators": [
      {"type": "Basic", "from": {"key_code": "a"}},
      {"type": "basic", "from": {"key_code": "a"}, "to": {"key_code": "b"}},
      {"type": "basic", "from": {"key_code": "a"},
       "conditions": [{"type": "variable_if"}, {"type": "unknown_if"}]},
      {"type": "mouse_basic", "flip": "x"},
      {"type": "basic", "from": {"key_code": "a"}, "conditions": [{"type": "keyboard_type_if"}]}
    ]
  })"),
                                        parameters);
  EXPECT_EQ(hbd::complex_modifications_utility::lint_rule(rule),
            (std::vector<std::string>{
                "`Lint me` error: unknown type `Basic`",
                R"(`Lint me` error: `name` is not found in `{"type":"variable_if"}`)",
                "`Lint me` error: `flip` must be array, but is `\"x\"`",
            }));

  const complex_modifications_rule valid(
      json::parse(R"({"description": "ok", "manipulators": [{"type": "basic", "from": {"key_code": "a"}}]})"),
      parameters);
  EXPECT_TRUE(hbd::complex_modifications_utility::lint_rule(valid).empty());
}

TEST(complex_modifications_utility, lint_rule_without_a_running_dispatcher) {
  const complex_modifications_rule rule(json::parse(R"({"description": "d", "manipulators": [
        {"type": "basic", "from": {"key_code": "a"}, "to_if_held_down": {"key_code": "b"},
         "to_delayed_action": {"to_if_invoked": {"key_code": "c"}}},
        {"type": "basic", "from": {"key_code": "a"}, "to_delayed_action": {"x": 1}},
        {"type": "mouse_motion_to_scroll", "options": []}]})"),
                                        parameters);
  EXPECT_EQ(hbd::complex_modifications_utility::lint_rule(rule),
            (std::vector<std::string>{
                R"(`d` error: `to_delayed_action` error: unknown key `x` in `{"x":1}`)",
                "`d` error: `options` error: json must be object, but is `[]`",
            }));
}

TEST(complex_modifications_utility, the_sample_rule_text) {
  const std::string expected = R"text({
    "description": "New Rule (change left_shift+caps_lock to page_down, right_shift+caps_lock to left_command+mission_control)",
    "manipulators": [
        {
            "from": {
                "key_code": "caps_lock",
                "modifiers": {
                    "mandatory": [
                        "left_shift"
                    ],
                    "optional": [
                        "any"
                    ]
                }
            },
            "to": [
                {
                    "key_code": "page_down",
                    "modifiers": []
                }
            ],
            "type": "basic"
        },
        {
            "from": {
                "key_code": "caps_lock",
                "modifiers": {
                    "mandatory": [
                        "right_shift"
                    ],
                    "optional": [
                        "any"
                    ]
                }
            },
            "to": [
                {
                    "apple_vendor_keyboard_key_code": "mission_control",
                    "modifiers": [
                        "left_command"
                    ]
                }
            ],
            "type": "basic"
        }
    ]
})text";
  const auto text = hbd::complex_modifications_utility::get_new_rule_json_string();
  EXPECT_EQ(text, expected);
  // The sample is itself a valid rule.
  const complex_modifications_rule rule(json::parse(text), parameters);
  EXPECT_TRUE(hbd::complex_modifications_utility::lint_rule(rule).empty());
}

} // namespace

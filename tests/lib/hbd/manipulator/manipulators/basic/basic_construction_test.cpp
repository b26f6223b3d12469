// Reading a "basic" manipulator, with and without a running shared dispatcher.

#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/manipulator/manipulators/basic/basic.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

using hbd::manipulator::manipulators::basic::basic;
using hbd::manipulator::manipulators::basic::simultaneous_options;
using nlohmann::json;

const hbd::core_configuration::details::complex_modifications_parameters parameters;

std::string error_of(const json& value) {
  return hbd_test::unmarshal_error_message([&] { basic manipulator(value, parameters); });
}

// Every case runs once without and once with the library's shared dispatcher, whose clients must
// detach before a failed construction unwinds.
class basic_construction : public testing::TestWithParam<bool> {
protected:
  basic_construction() {
    if (GetParam()) {
      manager_.emplace();
    }
  }

  std::optional<hbd::dispatcher_utility::scoped_dispatcher_manager> manager_;
};

INSTANTIATE_TEST_SUITE_P(dispatcher, basic_construction, testing::Bool(),
                         [](const auto& parameter) { return parameter.param ? "running" : "absent"; });

TEST_P(basic_construction, reads_a_minimal_manipulator) {
  const basic manipulator({{"type", "basic"}, {"from", {{"key_code", "a"}}}}, parameters);
  ASSERT_EQ(manipulator.get_from().get_event_definitions().size(), 1u);
  EXPECT_TRUE(manipulator.get_to().empty());
  EXPECT_TRUE(manipulator.get_to_if_alone().empty());
  EXPECT_TRUE(manipulator.get_to_after_key_up().empty());
  EXPECT_EQ(manipulator.get_to_if_held_down(), nullptr);
  EXPECT_EQ(manipulator.get_to_delayed_action(), nullptr);
  const auto& options = manipulator.get_from().get_simultaneous_options();
  EXPECT_FALSE(options.get_detect_key_down_uninterruptedly());
  EXPECT_EQ(options.get_key_down_order(), simultaneous_options::key_order::insensitive);
  EXPECT_EQ(options.get_key_up_order(), simultaneous_options::key_order::insensitive);
  EXPECT_EQ(options.get_key_up_when(), simultaneous_options::key_up_when::any);
  EXPECT_EQ(manipulator.get_validity(), hbd::validity::valid);
  EXPECT_TRUE(manipulator.get_conditions().empty());
  EXPECT_FALSE(manipulator.needs_virtual_hid_pointing());
}

TEST_P(basic_construction, reads_every_key) {
  const json value = json::parse(R"({
    "type": "basic",
    "description": "every key",
    "conditions": [{"type": "variable_if", "name": "v", "value": 1}],
    "parameters": {"basic.to_if_alone_timeout_milliseconds": 300},
    "from": {
      "simultaneous": [{"key_code": "a"}, {"any": "key_code"}],
      "simultaneous_options": {
        "detect_key_down_uninterruptedly": true,
        "key_down_order": "strict",
        "key_up_order": "strict_inverse",
        "key_up_when": "all",
        "to_after_key_up": [{"set_variable": {"name": "v", "value": 0}}],
        "description": "options"
      },
      "modifiers": {"mandatory": ["shift"], "optional": ["any"]}
    },
    "to": [{"key_code": "b"}, {"pointing_button": "button1"}],
    "to_if_alone": {"key_code": "escape"},
    "to_after_key_up": [{"shell_command": "true"}],
    "to_if_held_down": {"key_code": "c", "repeat": false},
    "to_delayed_action": {"to_if_invoked": {"key_code": "d"}, "to_if_canceled": [{"key_code": "e"}, {"key_code": "f"}]}
  })");
  const basic manipulator(value, parameters);
  const auto& from = manipulator.get_from();
  ASSERT_EQ(from.get_event_definitions().size(), 2u);
  EXPECT_EQ(from.get_event_definitions()[1].get_type(), hbd::manipulator::event_definition::type::any);
  const auto& options = from.get_simultaneous_options();
  EXPECT_TRUE(options.get_detect_key_down_uninterruptedly());
  EXPECT_EQ(options.get_key_down_order(), simultaneous_options::key_order::strict);
  EXPECT_EQ(options.get_key_up_order(), simultaneous_options::key_order::strict_inverse);
  EXPECT_EQ(options.get_key_up_when(), simultaneous_options::key_up_when::all);
  EXPECT_EQ(options.get_to_after_key_up().size(), 1u);
  EXPECT_EQ(from.get_from_modifiers_definition().get_mandatory_modifiers().size(), 1u);
  EXPECT_EQ(manipulator.get_to().size(), 2u);
  EXPECT_EQ(manipulator.get_to_if_alone().size(), 1u);
  EXPECT_EQ(manipulator.get_to_after_key_up().size(), 1u);
  ASSERT_NE(manipulator.get_to_if_held_down(), nullptr);
  EXPECT_FALSE(manipulator.get_to_if_held_down()->get_to().front().get_repeat());
  ASSERT_NE(manipulator.get_to_delayed_action(), nullptr);
  EXPECT_EQ(manipulator.get_to_delayed_action()->get_to_if_invoked().size(), 1u);
  EXPECT_EQ(manipulator.get_to_delayed_action()->get_to_if_canceled().size(), 2u);
  EXPECT_TRUE(manipulator.needs_virtual_hid_pointing());
}

TEST_P(basic_construction, list_forms_and_dropped_keys) {
  const basic object(
      {{"from", {{"key_code", "a"}}}, {"to", {{"key_code", "b"}}}, {"to_if_held_down", {{"key_code", "c"}}}},
      parameters);
  const basic array(
      {{"from", {{"key_code", "a"}}}, {"to", {{{"key_code", "b"}}}}, {"to_if_held_down", {{{"key_code", "c"}}}}},
      parameters);
  EXPECT_EQ(object.get_to().size(), array.get_to().size());
  EXPECT_EQ(object.get_to().front().get_event_definition().to_event(),
            array.get_to().front().get_event_definition().to_event());
  EXPECT_EQ(object.get_to_if_held_down()->get_to().size(), array.get_to_if_held_down()->get_to().size());

  // A key written beside "simultaneous" is dropped.
  const basic simultaneous(
      {{"from", {{"simultaneous", {{{"key_code", "a"}}, {{"key_code", "b"}}}}, {"key_code", "c"}}}}, parameters);
  ASSERT_EQ(simultaneous.get_from().get_event_definitions().size(), 2u);
  EXPECT_EQ(simultaneous.get_from().get_event_definitions()[1].to_event(),
            hbd::event_queue::event(hbd::momentary_switch_event(zunto::hid::usage_page::keyboard_or_keypad,
                                                                zunto::hid::usage::value_t{5})));
}

TEST_P(basic_construction, reading_errors_have_exact_nested_messages) {
  const std::pair<json, std::string> rows[] = {
      {{{"from", {{"key_code", "a"}}}, {"to", "b"}}, R"(`to` must be object or array, but is `"b"`)"},
      {{{"from", {{"key_code", "a"}}}, {"to", {{{"key_code", "nothing"}}}}},
       "`to` entry error: `key_code` error: unknown key_code: `\"nothing\"`"},
      {{{"from", {{"key_code", "a"}}}, {"to_if_alone", {{"key_code", "nothing"}}}},
       "`to_if_alone` error: `key_code` error: unknown key_code: `\"nothing\"`"},
      {{{"from", json::object()}}, "`from` error: event is not specified: `{}`"},
      {{{"from", {{"shell_command", "ls"}}}}, R"(`from` error: event type is invalid: `{"shell_command":"ls"}`)"},
      {{{"from", {{"key_code", "a"}, {"simultaneous_options", {{"key_down_order", "reverse"}}}}}},
       "`from` error: `simultaneous_options` error: `key_down_order` error: unknown value: `reverse`"},
      {{{"from", {{"key_code", "a"}, {"simultaneous_options", {{"key_up_when", 1}}}}}},
       "`from` error: `simultaneous_options` error: `key_up_when` error: json must be string, but is `1`"},
      {{{"from", {{"key_code", "a"}, {"simultaneous_options", {{"to_after_key_up", 1}}}}}},
       "`from` error: `simultaneous_options` error: `to_after_key_up` must be object or array, but is `1`"},
      {{{"from", {{"key_code", "a"}, {"simultaneous_options", {{"other", 1}}}}}},
       R"(`from` error: `simultaneous_options` error: unknown key `other` in `{"other":1}`)"},
      {{{"from", {{"key_code", "a"}, {"modifiers", {{"mandatory", {"hyper"}}}}}}},
       "`from` error: `modifiers` error: `mandatory` error: unknown modifier: `hyper`"},
      {{{"from", {{"key_code", "a"}, {"other", 1}}}},
       R"(`from` error: `from` error: unknown key `other` in `{"key_code":"a","other":1}`)"},
      {{{"from", {{"simultaneous", {{{"key_code", "a"}, {"lazy", true}}}}}}},
       R"(`from` error: unknown key: `lazy` in `{"key_code":"a","lazy":true})"},
      {{{"from", {{"simultaneous", {json::object()}}}}},
       R"(`from` error: event type is invalid: `{"simultaneous":[{}]}`)"},
      {{{"from", {{"simultaneous", {1}}}}}, "`from` error: `simultaneous` entry must be object, but is `1`"},
      {{{"from", {{"simultaneous", 1}}}}, "`from` error: `simultaneous` must be array, but is `1`"},
      {{{"from", {{"key_code", "a"}}}, {"to_if_held_down", "c"}},
       R"(`to_if_held_down` error: json must be object or array, but is `"c"`)"},
      {{{"from", {{"key_code", "a"}}}, {"to_if_held_down", {{{"key_code", "nothing"}}}}},
       "`to_if_held_down` error: `key_code` error: unknown key_code: `\"nothing\"`"},
      {{{"from", {{"key_code", "a"}}}, {"to_delayed_action", {{"description", "x"}}}},
       R"(`to_delayed_action` error: unknown key `description` in `{"description":"x"}`)"},
      {{{"from", {{"key_code", "a"}}}, {"to_delayed_action", {{"to_if_invoked", {{{"key_code", 1.5}, {"x", 1}}}}}}},
       R"(`to_delayed_action` error: `to_if_invoked` entry error: unknown key `x` in `{"key_code":1.5,"x":1}`)"},
      {{{"from", {{"key_code", "a"}}}, {"to_delayed_action", {{"to_if_canceled", true}}}},
       "`to_delayed_action` error: `to_if_canceled` must be object or array, but is `true`"},
      {{{"from", {{"key_code", "a"}}}, {"tos", json::array()}},
       R"(unknown key `tos` in `{"from":{"key_code":"a"},"tos":[]}`)"},
      {json::array(), "json must be object, but is `[]`"},
  };
  for (const auto& [input, message] : rows) {
    EXPECT_EQ(error_of(input), message) << input.dump();
  }
}

} // namespace

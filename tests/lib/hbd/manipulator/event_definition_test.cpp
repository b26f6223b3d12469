// The "from" and "to" event objects of rules, key by key.

#include "hbd/manipulator/from_modifiers_definition.hpp"
#include "hbd/manipulator/to_event_definition.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <utility>

namespace {

using hbd::manipulator::event_definition;
using hbd::manipulator::to_event_definition;
using nlohmann::json;
using modifier = hbd::manipulator::modifier_definition::modifier;
using event = hbd::event_queue::event;

to_event_definition read_to(const json& value) {
  to_event_definition result;
  from_json(value, result);
  return result;
}

std::string to_error(const json& value) {
  return hbd_test::unmarshal_error_message([&] { read_to(value); });
}

const hbd::momentary_switch_event key_a(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{4});
const hbd::momentary_switch_event left_shift(zunto::hid::usage_page::keyboard_or_keypad,
                                             zunto::hid::usage::value_t{225});

TEST(to_event_definition, reads_the_event_and_its_options) {
  const auto a = read_to({{"key_code", "a"}, {"modifiers", {"left_shift", "shift"}}});
  EXPECT_EQ(a.get_event_definition().get_type(), event_definition::type::momentary_switch_event);
  EXPECT_EQ(a.get_modifiers(), (std::set<modifier>{modifier::left_shift, modifier::shift}));
  EXPECT_EQ(a.make_modifier_events(), (std::vector<hbd::momentary_switch_event>{left_shift, left_shift}));
  EXPECT_EQ(a.get_event_definition().to_event(), event(key_a));
  EXPECT_FALSE(a.get_lazy());
  EXPECT_TRUE(a.get_repeat());
  EXPECT_FALSE(a.get_halt());
  EXPECT_EQ(a.get_hold_down_milliseconds().count(), 0);

  const auto options = read_to({{"key_code", "a"},
                                {"held_down_milliseconds", 300},
                                {"lazy", true},
                                {"repeat", false},
                                {"halt", true},
                                {"description", 5}});
  EXPECT_EQ(options.get_hold_down_milliseconds().count(), 300);
  EXPECT_TRUE(options.get_lazy());
  EXPECT_FALSE(options.get_repeat());
  EXPECT_TRUE(options.get_halt());

  // A negative hold-down time would move later entries before earlier ones.
  EXPECT_EQ(read_to({{"key_code", "a"}, {"hold_down_milliseconds", -50}}).get_hold_down_milliseconds().count(), 0);

  EXPECT_EQ(read_to({{"key_code", "a"}, {"modifiers", "command"}}).make_modifier_events(),
            (std::vector<hbd::momentary_switch_event>{hbd::momentary_switch_event(
                zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{227})}));
  EXPECT_TRUE(read_to({{"key_code", "a"}, {"modifiers", {"any", "end_"}}}).make_modifier_events().empty());
  EXPECT_EQ(read_to({{"key_code", "a"}, {"modifiers", {"left_alt", "left_option"}}}).get_modifiers(),
            std::set<modifier>{modifier::left_option});
}

TEST(to_event_definition, every_event_kind_becomes_its_queue_event) {
  struct row {
    json input;
    event::type kind;
  };
  const row rows[] = {
      {{{"consumer_key_code", "mute"}}, event::type::momentary_switch_event},
      {{{"shell_command", "open ."}}, event::type::shell_command},
      {{{"select_input_source", {{"language", "^en$"}}}}, event::type::select_input_source},
      {{{"select_input_source", {{{"language", "^en$"}}, {{"input_source_id", "US"}}}}},
       event::type::select_input_source},
      {{{"set_variable", {{"name", "v"}, {"value", 1}}}}, event::type::set_variable},
      {{{"set_notification_message", json::object()}}, event::type::set_notification_message},
      {{{"mouse_key", {{"x", 10}}}}, event::type::mouse_key},
      {{{"sticky_modifier", {{"left_shift", "toggle"}}}}, event::type::sticky_modifier},
      {{{"software_function", {{"cg_event_double_click", {{"button", 0}}}}}}, event::type::software_function},
  };
  for (const auto& r : rows) {
    const auto e = read_to(r.input).get_event_definition().to_event();
    ASSERT_TRUE(e.has_value()) << r.input.dump();
    EXPECT_EQ(e->get_type(), r.kind) << r.input.dump();
  }
  const auto sticky = read_to({{"sticky_modifier", {{"left_shift", "on"}, {"right_shift", "off"}}}});
  EXPECT_EQ(sticky.get_event_definition().to_event()->get_sticky_modifier(),
            std::pair(hbd::modifier_flag::right_shift, hbd::sticky_modifier_type::off));
  EXPECT_EQ(read_to({{"select_input_source", {{{"language", "a"}}, {{"language", "b"}}}}})
                .get_event_definition()
                .find<std::vector<zunto::osx::input_source_selector::specifier>>()
                ->size(),
            2u);
}

TEST(to_event_definition, reading_errors_have_exact_messages) {
  const std::pair<json, std::string> rows[] = {
      {{{"key_code", "a"}, {"pointing_button", "button1"}},
       R"(multiple types are specified: `{"key_code":"a","pointing_button":"button1"}`)"},
      {{{"any", "key_code"}}, R"(event type is invalid: `{"any":"key_code"}`)"},
      {{{"any", "generic_desktop"}}, R"(unknown `any`: `"generic_desktop"`)"},
      {{{"any", 1}}, "`any` must be string, but is `1`"},
      {{{"modifiers", {"shift"}}}, R"(event type is invalid: `{"modifiers":["shift"]}`)"},
      {{{"set_variable", {{"name", "v"}}}}, R"(`set_variable.value` is not found in `{"name":"v"}`)"},
      {{{"set_variable", {{"value", 1}}}}, R"(`set_variable.name` is not found in `{"value":1}`)"},
      {{{"set_variable", {{"name", 1}}}}, "`set_variable` error: `name` must be string, but is `1`"},
      {{{"select_input_source", "en"}}, R"(`select_input_source` must be object or array of objects, but is `"en"`)"},
      {{{"select_input_source", {{{"lang", "en"}}}}}, "`select_input_source` error: unknown key: `lang`"},
      {{{"key_code", "a"}, {"repeat", 1}}, "`repeat` must be boolean, but is `1`"},
      {{{"key_code", "a"}, {"hold_down_milliseconds", "1"}}, "`hold_down_milliseconds` must be number, but is `\"1\"`"},
      {{{"key_code", "a"}, {"modifiers", {"hyper"}}}, "`modifiers` error: unknown modifier: `hyper`"},
      {{{"key_code", "a"}, {"modifiers", 1}}, "`modifiers` error: json must be array or string, but is `1`"},
      {{{"key_code", "a"}, {"modifiers", {1}}}, "`modifiers` error: `modifier` must be string, but is `1`"},
      {{{"key_code", "nothing"}}, "`key_code` error: unknown key_code: `\"nothing\"`"},
      {{{"key_code", "a"}, {"extra", 1}}, R"(unknown key `extra` in `{"extra":1,"key_code":"a"}`)"},
      {{{"mouse_key", {{"x", "1"}}}}, "`mouse_key` error: `x` must be number, but is `\"1\"`"},
      {{{"sticky_modifier", {{"shift", "on"}}}}, "`sticky_modifier` error: unknown modifier_flag: `shift`"},
      {{{"sticky_modifier", "on"}}, "`sticky_modifier` must be object, but is `\"on\"`"},
      {{{"software_function", {{"beep", 1}}}}, "`software_function` error: unknown key: `beep`"},
      {{{"set_notification_message", {{"id", 1}}}}, "`set_notification_message` error: id must be string, but is `1`"},
      {{{"shell_command", 1}}, "`shell_command` must be string, but is `1`"},
      {json::array(), "json must be object, but is `[]`"},
  };
  for (const auto& [input, message] : rows) {
    EXPECT_EQ(to_error(input), message) << input.dump();
  }
}

TEST(from_modifiers_definition, reads_mandatory_and_optional_sets) {
  hbd::manipulator::from_modifiers_definition modifiers;
  from_json(json{{"mandatory", "left_gui"}, {"optional", {"any"}}, {"description", 1}}, modifiers);
  EXPECT_EQ(modifiers.get_mandatory_modifiers(), std::set<modifier>{modifier::left_command});
  EXPECT_EQ(modifiers.get_optional_modifiers(), std::set<modifier>{modifier::any});

  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              hbd::manipulator::from_modifiers_definition m;
              from_json(json{{"mandatory", {"caps"}}}, m);
            }),
            "`mandatory` error: unknown modifier: `caps`");
  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              hbd::manipulator::from_modifiers_definition m;
              from_json(json{{"required", {"shift"}}}, m);
            }),
            R"(unknown key `required` in `{"required":["shift"]}`)");
}

TEST(modifier_definition, names_and_flags) {
  using hbd::manipulator::modifier_definition::get_modifier_flags;
  using hbd::manipulator::modifier_definition::make_modifiers;
  EXPECT_EQ(make_modifiers(json{"right_alt", "right_option", "end_"}),
            (std::set<modifier>{modifier::right_option, modifier::end_}));
  EXPECT_EQ(get_modifier_flags(modifier::shift),
            (std::vector<hbd::modifier_flag>{hbd::modifier_flag::left_shift, hbd::modifier_flag::right_shift}));
  EXPECT_EQ(get_modifier_flags(modifier::fn), std::vector<hbd::modifier_flag>{hbd::modifier_flag::fn});
  EXPECT_TRUE(get_modifier_flags(modifier::any).empty());
  EXPECT_TRUE(get_modifier_flags(modifier::end_).empty());
}

} // namespace

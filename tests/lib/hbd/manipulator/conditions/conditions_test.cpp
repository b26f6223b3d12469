// The six condition kinds: read from JSON, then tested against an entry and the environment.

#include "hbd/manipulator/conditions/device.hpp"
#include "hbd/manipulator/conditions/event_changed.hpp"
#include "hbd/manipulator/conditions/frontmost_application.hpp"
#include "hbd/manipulator/conditions/input_source.hpp"
#include "hbd/manipulator/conditions/keyboard_type.hpp"
#include "hbd/manipulator/conditions/variable.hpp"
#include "platform/iokit/hid_device.hpp"
#include "support/registry_entry_owner.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <utility>

namespace {

using hbd::manipulator::manipulator_environment;
using nlohmann::json;
namespace conditions = hbd::manipulator::conditions;
using device_id = zunto::osx::iokit_registry_entry_id::value_t;

hbd::event_queue::entry make_entry(device_id id = device_id{1},
                                   hbd::event_queue::state state = hbd::event_queue::state::original) {
  const hbd::event_queue::event e(
      hbd::momentary_switch_event(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{4}));
  return hbd::event_queue::entry(id, hbd::event_queue::event_time_stamp(), e, hbd::event_type::key_down, e,
                                 hbd::event_origin::grabbed_device, state);
}

template <typename Condition>
std::string error_of(const json& value) {
  return hbd_test::unmarshal_error_message([&] { Condition c(value); });
}

TEST(conditions, variable) {
  manipulator_environment environment;
  const auto entry = make_entry();
  const auto fulfilled = [&](const json& value) {
    return conditions::variable(value).is_fulfilled(entry, environment);
  };

  EXPECT_TRUE(fulfilled({{"type", "variable_if"}, {"name", "v"}, {"value", 0}}));
  EXPECT_FALSE(fulfilled({{"type", "variable_if"}, {"name", "v"}, {"value", false}}));
  EXPECT_TRUE(fulfilled({{"type", "variable_unless"}, {"name", "v"}, {"value", false}}));
  environment.set_variable("v", 1);
  EXPECT_TRUE(fulfilled({{"type", "variable_if"}, {"name", "v"}, {"value", 1}}));
  EXPECT_FALSE(fulfilled({{"type", "variable_if"}, {"name", "v"}, {"value", "1"}}));
  EXPECT_FALSE(fulfilled({{"type", "variable_unless"}, {"name", "v"}, {"value", 1}}));

  EXPECT_EQ(error_of<conditions::variable>({{"type", "variable_if"}, {"value", 1}}),
            R"(`name` is not found in `{"type":"variable_if","value":1}`)");
  EXPECT_EQ(error_of<conditions::variable>({{"type", "variable_if"}, {"name", "v"}}),
            R"(`value` is not found in `{"name":"v","type":"variable_if"}`)");
  EXPECT_EQ(error_of<conditions::variable>({{"type", "variable_when"}, {"name", "v"}, {"value", 1}}),
            "unknown type `variable_when`");
  EXPECT_EQ(error_of<conditions::variable>({{"type", 1}}), "type must be string, but is `1`");
  EXPECT_EQ(error_of<conditions::variable>({{"name", 1}}), "`name` must be string, but is `1`");
  EXPECT_EQ(error_of<conditions::variable>({{"name", "v"}, {"value", nullptr}}),
            "json must be number, boolean or string, but is `null`");
  EXPECT_EQ(error_of<conditions::variable>(json::array()), "json must be object, but is `[]`");
  EXPECT_EQ(error_of<conditions::variable>({{"name", "v"}, {"value", 1}, {"extra", 1}}),
            R"(unknown key `extra` in `{"extra":1,"name":"v","value":1}`)");
}

TEST(conditions, event_changed) {
  manipulator_environment environment;
  const auto original = make_entry(device_id{1}, hbd::event_queue::state::original);
  const auto manipulated = make_entry(device_id{1}, hbd::event_queue::state::manipulated);
  struct row {
    json condition;
    bool on_original;
    bool on_manipulated;
  };
  const row rows[] = {
      {{{"type", "event_changed_if"}, {"value", true}}, false, true},
      {{{"type", "event_changed_if"}, {"value", false}}, true, false},
      {{{"type", "event_changed_unless"}, {"value", true}}, true, false},
      {{{"type", "event_changed_unless"}, {"value", false}}, false, true},
  };
  for (const auto& r : rows) {
    const conditions::event_changed condition(r.condition);
    EXPECT_EQ(condition.is_fulfilled(original, environment), r.on_original) << r.condition.dump();
    EXPECT_EQ(condition.is_fulfilled(manipulated, environment), r.on_manipulated) << r.condition.dump();
  }
  EXPECT_EQ(error_of<conditions::event_changed>({{"type", "event_changed_if"}}),
            R"(`value` is not found in `{"type":"event_changed_if"}`)");
  EXPECT_EQ(error_of<conditions::event_changed>({{"value", 1}}), "`value` must be boolean, but is `1`");
}

TEST(conditions, frontmost_application) {
  manipulator_environment environment;
  const auto entry = make_entry();
  const conditions::frontmost_application middle(
      {{"type", "frontmost_application_if"}, {"bundle_identifiers", {"example"}}, {"description", 1}});
  const conditions::frontmost_application anchored(
      {{"type", "frontmost_application_if"}, {"bundle_identifiers", {"^example"}}});
  const conditions::frontmost_application by_path(
      {{"type", "frontmost_application_unless"}, {"file_paths", {"/Terminal$"}}});

  environment.set_frontmost_application({"com.example.editor", "/apps/Editor"});
  EXPECT_TRUE(middle.is_fulfilled(entry, environment));
  EXPECT_FALSE(anchored.is_fulfilled(entry, environment));
  EXPECT_TRUE(by_path.is_fulfilled(entry, environment));

  environment.set_frontmost_application({std::nullopt, "/apps/Terminal"});
  EXPECT_FALSE(middle.is_fulfilled(entry, environment));
  EXPECT_FALSE(by_path.is_fulfilled(entry, environment));
  // Asked again about the same application, the condition answers from its cache alike.
  EXPECT_FALSE(by_path.is_fulfilled(entry, environment));

  const auto message = error_of<conditions::frontmost_application>({{"bundle_identifiers", {"ok", "[unclosed"}}});
  EXPECT_THAT(message, testing::EndsWith(R"(: `bundle_identifiers:["ok","[unclosed"]`)"));
  EXPECT_NE(message, R"(: `bundle_identifiers:["ok","[unclosed"]`)");
  EXPECT_EQ(error_of<conditions::frontmost_application>({{"file_paths", {"^/apps/", "^(a|a)*\\1$"}}}),
            "The regular expression holds a back-reference, which rules do not support.: "
            "`file_paths:[\"^/apps/\",\"^(a|a)*\\\\1$\"]`");
  EXPECT_EQ(error_of<conditions::frontmost_application>({{"file_paths", {1}}}),
            "file_paths entry must be string, but is `1`");
  EXPECT_EQ(error_of<conditions::frontmost_application>({{"file_paths", "x"}}),
            "`file_paths` must be array, but is `\"x\"`");
}

TEST(conditions, input_source) {
  manipulator_environment environment;
  const auto entry = make_entry();
  const conditions::input_source english(
      {{"type", "input_source_if"}, {"input_sources", {{{"language", "^fr$"}}, {{"language", "^en"}}}}});
  const conditions::input_source not_english(
      {{"type", "input_source_unless"}, {"input_sources", {{{"language", "^en"}}}}});

  zunto::osx::input_source::properties properties;
  properties.first_language = "en-GB";
  environment.set_input_source_properties(properties);
  EXPECT_TRUE(english.is_fulfilled(entry, environment));
  EXPECT_FALSE(not_english.is_fulfilled(entry, environment));
  properties.first_language = "de";
  environment.set_input_source_properties(properties);
  EXPECT_FALSE(english.is_fulfilled(entry, environment));
  EXPECT_TRUE(not_english.is_fulfilled(entry, environment));

  EXPECT_EQ(error_of<conditions::input_source>({{"input_sources", {{{"lang", "en"}}}}}),
            "`input_sources` entry error: unknown key: `lang`");
  EXPECT_EQ(error_of<conditions::input_source>({{"input_sources", {{"language", "en"}}}}),
            "`input_sources` must be array, but is `{\"language\":\"en\"}`");
}

TEST(conditions, keyboard_type) {
  manipulator_environment environment;
  const auto entry = make_entry();
  const conditions::keyboard_type iso({{"type", "keyboard_type_if"}, {"keyboard_types", {"iso"}}});
  const conditions::keyboard_type not_iso({{"type", "keyboard_type_unless"}, {"keyboard_types", {"iso"}}});
  EXPECT_FALSE(iso.is_fulfilled(entry, environment));
  EXPECT_TRUE(not_iso.is_fulfilled(entry, environment));

  zunto::osx::system_preferences::properties preferences;
  preferences.set_keyboard_types({{{zunto::hid::vendor_id::value_t{5824}, zunto::hid::product_id::value_t{10203},
                                    zunto::hid::country_code::value_t{0}},
                                   zunto::osx::iokit_keyboard_type::value_t{41}}});
  environment.set_system_preferences_properties(preferences);
  EXPECT_TRUE(iso.is_fulfilled(entry, environment));
  EXPECT_FALSE(not_iso.is_fulfilled(entry, environment));

  EXPECT_EQ(error_of<conditions::keyboard_type>({{"keyboard_types", {true}}}),
            "keyboard_types entry must be string, but is `true`");
}

// The properties of a simulated HID device.
hbd::device_properties read_device(device_id id, const std::vector<platform::iokit::hid_usage_pair>& usage_pairs,
                                   std::optional<std::int64_t> vendor_id) {
  hbd_test::registry_entry_owner service("IOHIDDevice");
  platform::iokit::registry_entry_set_hid_usage_pairs(service.get(), usage_pairs);
  if (vendor_id) {
    platform::iokit::registry_entry_set_number_property(service.get(), "VendorID", *vendor_id);
  }
  auto device = platform::iokit::hid_device_create(service.get());
  hbd::device_properties properties(id, device);
  platform::cf::release(device);
  return properties;
}

class device_condition : public testing::Test {
protected:
  // A keyboard with vendor 1452 on device 1 and a mouse without vendor on device 2.
  device_condition() {
    auto& devices = environment_.get_device_properties_manager();
    devices.insert(device_id{1}, read_device(device_id{1}, {{1, 6}}, 1452));
    devices.insert(device_id{2}, read_device(device_id{2}, {{1, 2}}, std::nullopt));
  }

  bool fulfilled(const json& value, device_id id) {
    return conditions::device(value).is_fulfilled(make_entry(id), environment_);
  }

  manipulator_environment environment_;
};

TEST_F(device_condition, matches_by_identifiers) {
  const json vendor = {{"vendor_id", 1452}, {"description", "keyboard"}};
  EXPECT_TRUE(fulfilled({{"type", "device_if"}, {"identifiers", {vendor}}}, device_id{1}));
  EXPECT_FALSE(fulfilled({{"type", "device_if"}, {"identifiers", {vendor}}}, device_id{2}));
  EXPECT_FALSE(fulfilled({{"type", "device_if"}, {"identifiers", {vendor}}}, device_id{9}));
  EXPECT_TRUE(fulfilled({{"type", "device_unless"}, {"identifiers", {vendor}}}, device_id{2}));
  EXPECT_TRUE(fulfilled({{"type", "device_if"}, {"identifiers", {{{"is_keyboard", false}}}}}, device_id{2}));
  EXPECT_TRUE(
      fulfilled({{"type", "device_if"}, {"identifiers", {{{"vendor_id", 0}, {"product_id", 0}}}}}, device_id{2}));

  // Without identifiers (or with only empty ones) nothing matches.
  for (const auto& type : {"device_if", "device_exists_if"}) {
    EXPECT_FALSE(fulfilled({{"type", type}}, device_id{1}));
    EXPECT_FALSE(fulfilled({{"type", type}, {"identifiers", {json::object()}}}, device_id{1}));
  }
  EXPECT_TRUE(fulfilled({{"type", "device_unless"}}, device_id{1}));
  EXPECT_TRUE(fulfilled({{"type", "device_exists_unless"}}, device_id{1}));

  // Whatever the entry's device.
  EXPECT_TRUE(fulfilled({{"type", "device_exists_if"}, {"identifiers", {vendor}}}, device_id{9}));
  EXPECT_FALSE(fulfilled({{"type", "device_exists_unless"}, {"identifiers", {vendor}}}, device_id{9}));
  EXPECT_FALSE(fulfilled({{"type", "device_exists_if"}, {"identifiers", {{{"vendor_id", 1}}}}}, device_id{1}));
}

TEST_F(device_condition, built_in_keyboard_follows_the_configuration_while_it_lives) {
  const json built_in = {{"type", "device_if"}, {"identifiers", {{{"is_built_in_keyboard", true}}}}};
  // No configuration: the mark is not checked.
  EXPECT_TRUE(fulfilled(built_in, device_id{1}));

  auto configuration = std::make_shared<hbd::core_configuration::core_configuration>("/nonexistent/hobbard.json", 0);
  environment_.set_core_configuration(configuration);
  EXPECT_FALSE(fulfilled(built_in, device_id{1}));
  const auto& identifiers = environment_.get_device_properties_manager().find(device_id{1})->get_device_identifiers();
  configuration->get_selected_profile().set_device_treat_as_built_in_keyboard(identifiers, true);
  EXPECT_TRUE(fulfilled(built_in, device_id{1}));
  EXPECT_FALSE(fulfilled(built_in, device_id{2}));
}

TEST_F(device_condition, reading_errors) {
  EXPECT_EQ(error_of<conditions::device>({{"identifiers", {{{"vendor_id", "1452"}}}}}),
            "identifiers entry `vendor_id` must be number, but is `\"1452\"`");
  EXPECT_EQ(error_of<conditions::device>({{"identifiers", {{{"is_touch_bar", 1}}}}}),
            "identifiers entry `is_touch_bar` must be boolean, but is `1`");
  EXPECT_EQ(error_of<conditions::device>({{"identifiers", {{{"vendor", 1}}}}}),
            R"(unknown key `vendor` in `{"vendor":1}`)");
  EXPECT_EQ(error_of<conditions::device>({{"identifiers", {1}}}), "identifiers entry must be object, but is `1`");
  // The first failing key in key order decides.
  EXPECT_EQ(error_of<conditions::device>({{"a_key", 1}, {"identifiers", 1}}),
            R"(unknown key `a_key` in `{"a_key":1,"identifiers":1}`)");
  EXPECT_EQ(error_of<conditions::device>({{"identifiers", 1}, {"z_key", 1}}),
            "`identifiers` must be array, but is `1`");
}

} // namespace

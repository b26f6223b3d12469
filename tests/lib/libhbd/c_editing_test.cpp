#include "lib/libhbd/c_editing_cases.h"
#include "libhbd.h"
#include "support/files.hpp"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

namespace {

std::filesystem::path user_directory() { return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard"; }
std::filesystem::path user_file() { return user_directory() / "hobbard.json"; }

// Members the library does not know sit at every level, so that a save shows what it keeps.
const char* const fixture = R"({
  "global": {"check_for_updates_on_startup": false, "show_in_menu_bar": true, "unknown_global": 1},
  "profiles": [
    {"name": "first", "unknown_profile": [1, 2]},
    {
      "name": "second",
      "selected": true,
      "parameters": {"delay_milliseconds_before_open_device": 250, "unknown_parameter": "x"},
      "simple_modifications": [
        {"from": {"key_code": "a"}, "to": [{"key_code": "b"}]},
        {"from": {"key_code": "c"}, "to": [{"key_code": "d"}]}
      ],
      "complex_modifications": {
        "parameters": {"basic.to_if_alone_timeout_milliseconds": 800, "unknown_rule_parameter": 7},
        "rules": [
          {"description": "one", "manipulators": [{"type": "basic", "from": {"key_code": "a"}}]},
          {"description": "two", "manipulators": [{"type": "basic", "from": {"key_code": "b"}}], "unknown_rule": {}},
          {"description": "three", "manipulators": [{"type": "basic", "from": {"key_code": "c"}}]}
        ],
        "unknown_complex_modifications": null
      },
      "virtual_hid_keyboard": {"country_code": 3, "mouse_key_xy_scale": 150, "unknown_keyboard": true},
      "devices": [
        {
          "identifiers": {"vendor_id": 4660, "product_id": 22136, "is_keyboard": true},
          "ignore": true,
          "mouse_flip_x": true,
          "game_pad_xy_stick_deadzone": 0.25,
          "unknown_device": "kept"
        }
      ]
    }
  ],
  "unknown_top": {"a": [1]}
})";

// The library runs with the fixture as the user configuration file; each test gets the handle of
// the configuration the monitor loaded from it.
class libhbd_c_editing_test : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::remove_all(user_directory());
    std::filesystem::create_directories(user_directory());
    hbd_test::write_file(user_file(), fixture);
    libhbd_initialize();
    load();
  }

  // Takes the configuration the monitor loads from the user configuration file.
  void load() {
    libhbd_core_configuration_terminate(&handle_);
    libhbd_enable_configuration_monitor([](void* handle, void* context) { *static_cast<void**>(context) = handle; },
                                        &handle_);
    libhbd_disable_configuration_monitor();
    ASSERT_NE(handle_, nullptr);
  }

  void TearDown() override {
    libhbd_core_configuration_terminate(&handle_);
    libhbd_terminate();
    std::filesystem::remove_all(user_directory());
  }

  nlohmann::json saved() {
    libhbd_core_configuration_save(handle_);
    EXPECT_STREQ(libhbd_core_configuration_get_save_error_message(), "");
    return nlohmann::json::parse(hbd_test::read_file(user_file()));
  }

  hbd_test::log_capture log_;
  void* handle_ = nullptr;
};

} // namespace

TEST_F(libhbd_c_editing_test, every_family_through_the_c_header) {
  for (std::size_t i = 0; i < hbd_c_editing_cases_size(); ++i) {
    SCOPED_TRACE(hbd_c_editing_case_name(i));
    // Each case starts from the fixture.
    TearDown();
    SetUp();
    EXPECT_STREQ(hbd_c_editing_case_run(i, handle_), "");
  }
}

TEST_F(libhbd_c_editing_test, a_save_after_edits_keeps_every_member_that_was_not_touched) {
  libhbd_core_configuration_set_global_configuration_check_for_updates_on_startup(handle_, true);
  libhbd_core_configuration_set_profile_name(handle_, 0, "renamed");
  libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(handle_, 200);
  libhbd_core_configuration_set_selected_profile_complex_modifications_parameter(
      handle_, "basic.to_if_alone_timeout_milliseconds", 300);
  libhbd_core_configuration_replace_selected_profile_simple_modification(handle_, 1, R"({"key_code": "e"})",
                                                                         R"([{"key_code": "f"}])", nullptr);
  const libhbd_device_identifiers keyboard{4660, 22136, nullptr, true, false, false};
  libhbd_core_configuration_set_selected_profile_device_mouse_flip_y(handle_, &keyboard, true);

  const auto changed = nlohmann::json::object({
      {"/global/check_for_updates_on_startup", true},
      {"/profiles/0/name", "renamed"},
      {"/profiles/1/virtual_hid_keyboard/mouse_key_xy_scale", 200},
      {"/profiles/1/complex_modifications/parameters/basic.to_if_alone_timeout_milliseconds", 300},
      {"/profiles/1/simple_modifications/1/from/key_code", "e"},
      {"/profiles/1/simple_modifications/1/to/0/key_code", "f"},
  });
  auto expected = nlohmann::json::parse(fixture).flatten();
  for (const auto& [pointer, value] : changed.items()) {
    expected[pointer] = value;
  }
  const auto file = saved();
  const auto actual = file.flatten();
  for (const auto& [pointer, value] : expected.items()) {
    SCOPED_TRACE(pointer);
    ASSERT_TRUE(actual.contains(pointer));
    EXPECT_EQ(actual.at(pointer).dump(), value.dump());
  }
  EXPECT_EQ(file.at("/profiles/1/devices/0/mouse_flip_y"_json_pointer), true);
}

// An entry read without an address and identifiers whose address is null or empty name one device.
TEST_F(libhbd_c_editing_test, setters_find_the_entry_of_the_same_device_and_getters_add_none) {
  const struct {
    const char* name;
    std::function<void(void*)> call;
    std::size_t devices;
  } cases[] = {
      {"null address, setter",
       [](void* handle) {
         const libhbd_device_identifiers ids{4660, 22136, nullptr, true, false, false};
         libhbd_core_configuration_set_selected_profile_device_mouse_swap_xy(handle, &ids, true);
       },
       1},
      {"empty address, setter",
       [](void* handle) {
         const libhbd_device_identifiers ids{4660, 22136, "", true, false, false};
         libhbd_core_configuration_set_selected_profile_device_game_pad_xy_stick_deadzone(handle, &ids, 0.5);
       },
       1},
      {"getters of an unknown device",
       [](void* handle) {
         const libhbd_device_identifiers ids{1, 2, nullptr, false, false, false};
         libhbd_core_configuration_get_selected_profile_device_ignore(handle, &ids);
         libhbd_core_configuration_get_selected_profile_device_mouse_swap_xy(handle, &ids);
         libhbd_core_configuration_has_selected_profile_device_game_pad_xy_stick_deadzone(handle, &ids);
         libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone(handle, &ids);
       },
       1},
      {"setter of an unknown device",
       [](void* handle) {
         const libhbd_device_identifiers ids{1, 2, nullptr, false, false, false};
         libhbd_core_configuration_set_selected_profile_device_mouse_swap_xy(handle, &ids, false);
       },
       2},
      // The lists of a device belong to its entry, which even a size query adds.
      {"size query of an unknown device's list",
       [](void* handle) {
         const libhbd_device_identifiers ids{1, 2, nullptr, false, false, false};
         libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, &ids);
       },
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    c.call(handle_);
    const auto devices = saved().at("/profiles/1/devices"_json_pointer);
    ASSERT_EQ(devices.size(), c.devices) << devices.dump();
    EXPECT_EQ(devices[0].at("unknown_device"), "kept");
  }
}

// A text the header hands out stays readable, unchanged, while other elements are added, removed and
// reordered; the address sanitizer reports a text that moved with its element.
TEST_F(libhbd_c_editing_test, returned_texts_survive_edits_of_other_elements) {
  const libhbd_device_identifiers keyboard{4660, 22136, nullptr, true, false, false};
  const auto push_profiles = [](void* handle) {
    for (int i = 0; i < 20; ++i) {
      libhbd_core_configuration_push_back_profile(handle);
    }
  };
  const auto push_empty_pairs = [](void* handle) {
    for (int i = 0; i < 20; ++i) {
      libhbd_core_configuration_push_back_selected_profile_simple_modification(handle, nullptr);
    }
  };
  const auto push_rules = [](void* handle) {
    const char* rule = R"({"description": "new", "manipulators": [{"type": "basic", "from": {"key_code": "z"}}]})";
    for (int i = 0; i < 20; ++i) {
      char error[256];
      libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, rule, error,
                                                                                       sizeof(error));
    }
  };
  const struct {
    const char* name;
    std::function<void(void*)> prepare;
    std::function<const char*(void*)> get;
    std::function<void(void*)> edit;
    std::string expected;
  } cases[] = {
      {"profile name, profiles added", nullptr,
       [](void* h) { return libhbd_core_configuration_get_profile_name(h, 1); }, push_profiles, "second"},
      {"profile name, an earlier profile erased", nullptr,
       [](void* h) { return libhbd_core_configuration_get_profile_name(h, 1); },
       [](void* h) { libhbd_core_configuration_erase_profile(h, 0); }, "second"},
      {"selected profile name, profiles added", nullptr, libhbd_core_configuration_get_selected_profile_name,
       push_profiles, "second"},
      {"simple modification from, pairs added", push_empty_pairs,
       [](void* h) {
         return libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(h, 2, nullptr);
       },
       push_empty_pairs, "{}"},
      {"simple modification to, an earlier pair erased", push_empty_pairs,
       [](void* h) {
         return libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(h, 2, nullptr);
       },
       [](void* h) { libhbd_core_configuration_erase_selected_profile_simple_modification(h, 0, nullptr); }, "[]"},
      {"fn function key of a device, other devices added", nullptr,
       [&](void* h) {
         return libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(h, 0, &keyboard);
       },
       [](void* h) {
         for (std::uint64_t product = 1; product <= 20; ++product) {
           const libhbd_device_identifiers other{1, product, nullptr, true, false, false};
           libhbd_core_configuration_get_selected_profile_fn_function_keys_size(h, &other);
         }
       },
       "[]"},
      {"rule description, rules added in front", nullptr,
       [](void* h) {
         return libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(h, 0);
       },
       push_rules, "one"},
      {"rule description, other rules moved and erased", nullptr,
       [](void* h) {
         return libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(h, 1);
       },
       [](void* h) {
         // three, two, one; then two, one; then one, two.
         libhbd_core_configuration_swap_selected_profile_complex_modifications_rules(h, 0, 2);
         libhbd_core_configuration_erase_selected_profile_complex_modifications_rule(h, 0);
         libhbd_core_configuration_move_selected_profile_complex_modifications_rule(h, 0, 2);
       },
       "two"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.prepare) {
      c.prepare(handle_);
    }
    const char* text = c.get(handle_);
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(std::string(text), c.expected);
    c.edit(handle_);
    EXPECT_EQ(std::string(text), c.expected);
  }
}

TEST_F(libhbd_c_editing_test, a_deadzone_the_file_cannot_hold_is_refused_and_the_value_kept) {
  const libhbd_device_identifiers listed{4660, 22136, nullptr, true, false, false};
  const libhbd_device_identifiers unknown{1, 2, nullptr, false, false, true};
  const struct {
    const char* name;
    void (*set)(void*, const libhbd_device_identifiers*, double);
    double (*get)(void*, const libhbd_device_identifiers*);
    bool (*has)(void*, const libhbd_device_identifiers*);
  } setters[] = {
      {"xy", libhbd_core_configuration_set_selected_profile_device_game_pad_xy_stick_deadzone,
       libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone,
       libhbd_core_configuration_has_selected_profile_device_game_pad_xy_stick_deadzone},
      {"wheels", libhbd_core_configuration_set_selected_profile_device_game_pad_wheels_stick_deadzone,
       libhbd_core_configuration_get_selected_profile_device_game_pad_wheels_stick_deadzone,
       libhbd_core_configuration_has_selected_profile_device_game_pad_wheels_stick_deadzone},
  };
  const double refused[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
  for (const auto& setter : setters) {
    for (const double value : refused) {
      SCOPED_TRACE(std::string(setter.name) + " " + std::to_string(value));
      TearDown();
      SetUp();
      log_.clear();
      setter.set(handle_, &listed, 0.5);
      setter.set(handle_, &listed, value);
      setter.set(handle_, &unknown, value);
      EXPECT_EQ(setter.get(handle_, &listed), 0.5);
      EXPECT_FALSE(setter.has(handle_, &unknown));
      const auto logged = log_.texts();
      ASSERT_EQ(logged.size(), 2u);
      EXPECT_NE(logged[0].find("must be a finite number"), std::string::npos) << logged[0];

      // The save holds numbers only, and the file loads again with the edit in it.
      const auto file = saved();
      const auto devices = file.at("/profiles/1/devices"_json_pointer);
      ASSERT_EQ(devices.size(), 1u) << devices.dump();
      EXPECT_EQ(devices[0].at(std::string("game_pad_") + setter.name + "_stick_deadzone"), 0.5);
      load();
      EXPECT_EQ(libhbd_core_configuration_get_profiles_size(handle_), 2u);
      EXPECT_EQ(setter.get(handle_, &listed), 0.5);
    }
  }
}

// The simple-modification lists sit five (a profile's) or seven (a device's) levels down in the
// file, which loads only up to 512: a text that could not be saved is refused where it is set.
TEST_F(libhbd_c_editing_test, a_simple_modification_too_deep_to_save_is_refused) {
  // A "from" object nesting `depth` levels, and a "to" list of one such event.
  const auto from = [](std::size_t depth) {
    std::string text;
    for (std::size_t i = 1; i < depth; ++i) {
      text += R"({"a":)";
    }
    return text + "{}" + std::string(depth - 1, '}');
  };
  const auto to = [&](std::size_t depth) { return "[" + from(depth - 1) + "]"; };
  const libhbd_device_identifiers keyboard{4660, 22136, nullptr, true, false, false};
  const struct {
    const char* name;
    std::string from;
    std::string to;
    const libhbd_device_identifiers* device;
    bool stored;
  } cases[] = {
      {"a device's list at the limit", from(505), to(505), &keyboard, true},
      {"a device's list, from one deeper", from(506), to(2), &keyboard, false},
      {"the profile's list, to one deeper", from(2), to(506), nullptr, false},
      // A single event becomes a list of one, a level deeper.
      {"a single event at the limit", from(2), from(505), nullptr, false},
      {"far deeper", from(512), to(2), nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    libhbd_core_configuration_push_back_selected_profile_simple_modification(handle_, c.device);
    const auto last = libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle_, c.device) - 1;
    libhbd_core_configuration_replace_selected_profile_simple_modification(handle_, last, c.from.c_str(), c.to.c_str(),
                                                                           c.device);
    const std::string stored =
        libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(handle_, last, c.device);
    EXPECT_EQ(stored != "{}", c.stored);
    // Whatever the handle holds saves.
    saved();
  }
}

// Rules sit five levels down in the file.
TEST_F(libhbd_c_editing_test, a_rule_too_deep_to_save_is_refused) {
  const auto rule = [](std::size_t depth) {
    return R"({"manipulators": [{"type": "basic", "from": {"key_code": "a"}}], "deep": )" +
           std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
  };
  const struct {
    std::size_t depth;
    bool stored;
  } cases[] = {{507, true}, {508, false}, {512, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.depth);
    TearDown();
    SetUp();
    char error[256] = "unset";
    libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle_, rule(c.depth).c_str(),
                                                                                     error, sizeof(error));
    EXPECT_EQ(std::string(error).empty(), c.stored) << error;
    EXPECT_EQ(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle_),
              c.stored ? 4u : 3u);
    saved();
  }
}

#include "lib/libhbd/c_editing_cases.h"
#include "libhbd.h"
#include "support/files.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <functional>
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

#include "libhbd.h"
#include "support/files.hpp"
#include "lib/libhbd/c_editing_cases.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
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
    libhbd_enable_configuration_monitor(
        [](void* handle, void* context) { *static_cast<void**>(context) = handle; }, &handle_);
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

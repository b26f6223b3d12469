// A number too large for a double, in every text the library reads from outside: each reader
// reports it as it reports any text that is not JSON.

#include "hbd/complex_modifications_assets_file.hpp"
#include "hbd/connected_devices/connected_devices.hpp"
#include "hbd/constants.hpp"
#include "hbd/core_configuration/core_configuration.hpp"
#include "libhbd.h"
#include "platform/preferences/preferences.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"
#include "zunto/osx/system_preferences/properties.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <array>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;
using hbd_test::write_file;

// The logged lines, one a line.
std::string logged(const hbd_test::log_capture& capture) {
  std::string text;
  for (const auto& line : capture.texts()) {
    text += line + "\n";
  }
  return text;
}

// A text from the C interface; "(null)" for none.
std::string text(const char* value) { return value == nullptr ? "(null)" : value; }

class huge_numbers_test : public testing::Test {
protected:
  void SetUp() override {
    fs::create_directories(user_file().parent_path());
    write_file(user_file(), R"({"profiles": [{"name": "p", "selected": true,
      "simple_modifications": [{"from": {"key_code": "a"}, "to": [{"key_code": "b"}]}],
      "complex_modifications": {"rules": [{"description": "kept",
        "manipulators": [{"type": "basic", "from": {"key_code": "a"}}]}]}}]})");
    libhbd_initialize();
    libhbd_enable_configuration_monitor([](void* handle, void* context) { *static_cast<void**>(context) = handle; },
                                        &handle_);
    libhbd_disable_configuration_monitor();
    ASSERT_NE(handle_, nullptr);
    platform::preferences::set_folder(directory_.path() / "preferences");
  }

  void TearDown() override {
    platform::preferences::set_folder({});
    libhbd_core_configuration_terminate(&handle_);
    libhbd_terminate();
    fs::remove_all(hbd::constants::get_user_configuration_directory());
  }

  static const fs::path& user_file() { return hbd::constants::get_user_core_configuration_file_path(); }

  fs::path file(const std::string& content) const {
    const auto path = directory_.path() / "input.json";
    write_file(path, content);
    return path;
  }

  hbd_test::temporary_directory directory_;
  void* handle_ = nullptr;
};

} // namespace

TEST_F(huge_numbers_test, every_reader_of_outside_text_reports_it_as_text_that_is_not_json) {
  const std::string digits(400, '7');
  // What a reader did with a text holding `number`, and what it should have done.
  const struct {
    const char* name;
    std::function<std::string(const std::string& number)> outcome;
    bool reports_parse_error; // else: the reader's quiet outcome for a text that is not JSON
    std::string quiet_outcome;
  } readers[] = {
      {"configuration file",
       [&](const std::string& number) {
         hbd_test::log_capture capture;
         const auto path =
             file(R"({"profiles": [{"parameters": {"delay_milliseconds_before_open_device": )" + number + "}}]})");
         const hbd::core_configuration::core_configuration configuration(path.string(), ::geteuid());
         return std::string(configuration.is_loaded() ? "loaded\n" : "") + logged(capture);
       },
       true, ""},
      {"devices file",
       [&](const std::string& number) {
         hbd_test::log_capture capture;
         const hbd::connected_devices::connected_devices devices(
             file(R"([{"identifiers": {"vendor_id": )" + number + "}}]"));
         return std::string(devices.is_loaded() ? "loaded\n" : "") + logged(capture);
       },
       true, ""},
      {"asset file",
       [&](const std::string& number) {
         try {
           const hbd::complex_modifications_assets_file asset(
               file(R"({"title": "t", "rules": [{"description": )" + number + "}]}").string());
           return std::string("loaded");
         } catch (const nlohmann::json::parse_error& e) {
           return std::string(e.what());
         } catch (const std::exception& e) {
           return "another exception: " + std::string(e.what());
         }
       },
       true, ""},
      {"rule text through the C interface",
       [&](const std::string& number) {
         std::array<char, 1024> buffer{};
         libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(
             handle_, 0,
             (R"({"description": "new", "manipulators": [{"type": "basic", "from": {"key_code": "a"},
               "parameters": {"basic.to_if_alone_timeout_milliseconds": )" +
              number + "}}]}")
                 .c_str(),
             buffer.data(), buffer.size());
         const auto description =
             text(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle_, 0));
         return std::string(buffer.data()) + (description == "kept" ? "" : "\nreplaced");
       },
       true, ""},
      {"simple modification through the C interface",
       [&](const std::string& number) {
         libhbd_core_configuration_replace_selected_profile_simple_modification(
             handle_, 0, (R"({"key_code": )" + number + "}").c_str(), R"([{"key_code": "c"}])", nullptr);
         return text(
             libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(handle_, 0, nullptr));
       },
       false, R"([{"key_code":"b"}])"},
      {"notification message",
       [&](const std::string& number) {
         fs::create_directories(hbd::constants::get_notification_message_file_path().parent_path());
         write_file(hbd::constants::get_notification_message_file_path(), R"({"body": "hi", "n": )" + number + "}");
         return text(libhbd_get_notification_message_body());
       },
       false, ""},
      {"preferences",
       [&](const std::string& number) {
         const auto path = platform::preferences::get_store_path(
             "Apple Global Domain", platform::preferences::user::current, platform::preferences::host::any);
         fs::create_directories(path.parent_path());
         write_file(path, R"({"com.apple.swipescrolldirection": false, "n": )" + number + "}");
         zunto::osx::system_preferences::properties properties;
         properties.update();
         return std::string(properties.get_scroll_direction_is_natural() ? "natural" : "not natural");
       },
       false, "natural"},
  };
  for (const auto& number : {std::string("1e400"), std::string("-1E+400"), digits, "-" + digits}) {
    for (const auto& reader : readers) {
      SCOPED_TRACE(std::string(reader.name) + " with " + number.substr(0, 8));
      const auto outcome = reader.outcome(number);
      if (reader.reports_parse_error) {
        EXPECT_THAT(outcome, testing::HasSubstr("[json.exception.parse_error.101] parse error at line "));
        EXPECT_THAT(outcome, testing::HasSubstr(": number overflow parsing '" + number + "'"));
        EXPECT_THAT(outcome,
                    testing::Not(testing::AnyOf(testing::HasSubstr("loaded"), testing::HasSubstr("replaced"))));
      } else {
        EXPECT_EQ(outcome, reader.quiet_outcome);
      }
    }
  }
}

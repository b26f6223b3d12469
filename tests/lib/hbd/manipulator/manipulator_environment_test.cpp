#include "hbd/manipulator/manipulator_environment.hpp"

#include "hbd/async_file_writer.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/hbd_notification_center.hpp"
#include "support/files.hpp"
#include "support/temporary_directory.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using hbd::manipulator::manipulator_environment;
using nlohmann::json;

class manipulator_environment_test : public testing::Test {
protected:
  json saved() {
    hbd::async_file_writer::wait();
    return json::parse(hbd_test::read_file(path_));
  }

  hbd_test::temporary_directory directory_;
  hbd::dispatcher_utility::scoped_dispatcher_manager manager_;
  std::filesystem::path path_ = directory_.path() / "tmp/environment.json";
};

TEST_F(manipulator_environment_test, a_fresh_environment_writes_the_documented_file) {
  manipulator_environment environment;
  environment.set_output_json_file_path(path_.string());
  environment.async_save_to_file();
  EXPECT_EQ(saved(), json::parse(R"({
    "frontmost_application": {},
    "input_source": null,
    "system_preferences_properties": {
      "keyboard_types": [],
      "scroll_direction_is_natural": true,
      "use_fkeys_as_standard_function_keys": false
    },
    "variables": {},
    "virtual_hid_devices_state": {"virtual_hid_keyboard_ready": false, "virtual_hid_pointing_ready": false},
    "virtual_hid_keyboard_keyboard_type": ""
  })"));
  EXPECT_EQ(hbd_test::mode_of(path_), 0644u);
  EXPECT_EQ(hbd_test::mode_of(path_.parent_path()), 0755u);
}

TEST_F(manipulator_environment_test, every_setter_publishes_the_new_state) {
  manipulator_environment environment;
  environment.set_output_json_file_path(path_.string());

  environment.set_frontmost_application({"com.example.editor", std::nullopt});
  EXPECT_EQ(saved()["frontmost_application"], json({{"bundle_identifier", "com.example.editor"}}));

  zunto::osx::input_source::properties languages_only;
  languages_only.languages = {"en"};
  environment.set_input_source_properties(languages_only);
  EXPECT_EQ(saved()["input_source"], nullptr);

  zunto::osx::input_source::properties input_source;
  input_source.input_source_id = "com.example.US";
  input_source.localized_name = "U.S.";
  input_source.first_language = "en";
  environment.set_input_source_properties(input_source);
  EXPECT_EQ(saved()["input_source"], json({{"input_source_id", "com.example.US"}, {"language", "en"}}));

  environment.set_variable("mode", 1);
  environment.set_variable("mode", std::string("vim"));
  environment.set_variable("on", true);
  EXPECT_EQ(saved()["variables"], json({{"mode", "vim"}, {"on", true}}));
  EXPECT_EQ(environment.get_variable("mode"), hbd::manipulator_environment_variable_value(std::string("vim")));
  EXPECT_EQ(environment.get_variable("never"), hbd::manipulator_environment_variable_value(0));
}

TEST_F(manipulator_environment_test, without_a_path_the_state_changes_and_nothing_is_written) {
  manipulator_environment environment;
  environment.set_variable("a", 2);
  environment.set_frontmost_application({std::nullopt, "/bin/editor"});
  hbd::async_file_writer::wait();
  EXPECT_EQ(environment.get_variable("a"), hbd::manipulator_environment_variable_value(2));
  EXPECT_TRUE(hbd_test::entry_names(directory_.path()).empty());
}

TEST_F(manipulator_environment_test, keyboard_type_of_the_virtual_keyboard) {
  using zunto::osx::iokit_keyboard_type::value_t;
  const zunto::osx::system_preferences::keyboard_type_key us{zunto::hid::vendor_id::value_t{5824},
                                                             zunto::hid::product_id::value_t{10203},
                                                             zunto::hid::country_code::value_t{0}};
  auto other = us;
  other.country_code = zunto::hid::country_code::value_t{1};

  struct row {
    zunto::osx::system_preferences::properties::keyboard_types_t types;
    std::string expected;
  };
  const row rows[] = {
      {{{us, value_t{40}}}, "ansi"},
      {{{us, value_t{41}}}, "iso"},
      {{{us, value_t{42}}}, "jis"},
      {{{other, value_t{41}}}, ""},
      {{}, ""},
  };
  for (const auto& r : rows) {
    manipulator_environment environment;
    environment.set_output_json_file_path(path_.string());
    zunto::osx::system_preferences::properties properties;
    properties.set_keyboard_types(r.types);
    environment.set_system_preferences_properties(properties);
    EXPECT_EQ(environment.get_virtual_hid_keyboard_keyboard_type(), r.expected);
    EXPECT_EQ(saved()["virtual_hid_keyboard_keyboard_type"], r.expected);
  }

  // The selected profile's country code picks the key while the configuration lives.
  const auto configuration_path = directory_.path() / "hobbard.json";
  hbd_test::write_file(configuration_path, R"({"profiles": [
    {"name": "a"},
    {"name": "b", "selected": true, "virtual_hid_keyboard": {"country_code": 1}}]})");
  auto configuration =
      std::make_shared<hbd::core_configuration::core_configuration>(configuration_path.string(), geteuid());
  ASSERT_TRUE(configuration->is_loaded());

  zunto::osx::system_preferences::properties properties;
  properties.set_keyboard_types({{us, value_t{42}}, {other, value_t{41}}});
  manipulator_environment environment;
  environment.set_system_preferences_properties(properties);
  EXPECT_EQ(environment.get_virtual_hid_keyboard_keyboard_type(), "jis");
  environment.set_core_configuration(configuration);
  environment.update_virtual_hid_keyboard_keyboard_type();
  EXPECT_EQ(environment.get_virtual_hid_keyboard_keyboard_type(), "iso");
  configuration.reset();
  environment.update_virtual_hid_keyboard_keyboard_type();
  EXPECT_EQ(environment.get_virtual_hid_keyboard_keyboard_type(), "jis");
}

class notified_client final : public zunto::dispatcher::extra::dispatcher_client {
public:
  notified_client()
      : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()) {}
  ~notified_client() override { detach_from_dispatcher(); }
  notified_client(const notified_client&) = delete;
  notified_client& operator=(const notified_client&) = delete;
};

TEST_F(manipulator_environment_test, each_input_event_arrived_notice_emits_once) {
  auto& center = hbd::hbd_notification_center::get_instance();
  EXPECT_EQ(&center, &hbd::hbd_notification_center::get_instance());

  std::atomic<int> emitted = 0;
  auto connection = center.input_event_arrived.connect([&] { ++emitted; });
  notified_client client;
  auto fence = zunto::make_thread_wait();
  // Held until both notices are queued, so they are queued before either runs.
  auto gate = zunto::make_thread_wait();
  client.enqueue_to_dispatcher([gate] { gate->wait_notice(); }, zunto::dispatcher::time_point(1));
  center.enqueue_input_event_arrived(client);
  center.enqueue_input_event_arrived(client);
  client.enqueue_to_dispatcher([fence] { fence->notify(); }, zunto::dispatcher::time_point(1));
  gate->notify();
  fence->wait_notice();
  EXPECT_EQ(emitted, 2);
  connection.disconnect();
}

} // namespace

#include "zunto/osx/system_preferences_monitor.hpp"

#include "platform/preferences/preferences.hpp"
#include "support/event_log.hpp"
#include "support/files.hpp"
#include "support/temporary_directory.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace std::chrono_literals;

class system_preferences_monitor_test : public testing::Test {
protected:
  void SetUp() override { platform::preferences::set_folder(directory_.path()); }

  void TearDown() override {
    monitor_.reset();
    dispatcher_->terminate();
    platform::preferences::set_folder({});
  }

  void write_global(const std::string& text) {
    const auto path = platform::preferences::get_store_path("Apple Global Domain", platform::preferences::user::current,
                                                            platform::preferences::host::any);
    hbd_test::replace_file(path, text);
  }

  hbd_test::temporary_directory directory_;
  std::shared_ptr<zunto::dispatcher::hardware_time_source> clock_ =
      std::make_shared<zunto::dispatcher::hardware_time_source>();
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher_ = std::make_shared<zunto::dispatcher::dispatcher>(clock_);
  std::unique_ptr<zunto::osx::system_preferences_monitor> monitor_;
  hbd_test::event_log log_;
};

} // namespace

TEST_F(system_preferences_monitor_test, signals_the_first_reading_and_then_only_changes) {
  monitor_ = std::make_unique<zunto::osx::system_preferences_monitor>(dispatcher_);
  monitor_->system_preferences_changed.connect(
      [this](std::shared_ptr<const zunto::osx::system_preferences::properties> p) {
        log_.push(nlohmann::json(*p).dump());
      });
  // Polled every millisecond: a signal without a change would show as one too many.
  monitor_->async_start(1ms);
  ASSERT_TRUE(log_.wait_for_size(1));

  write_global(R"({"com.apple.swipescrolldirection": false})");
  ASSERT_TRUE(log_.wait_for_size(2));
  write_global(R"({"com.apple.swipescrolldirection": false, "unrelated": 1})");
  write_global(R"({"com.apple.swipescrolldirection": false, "com.apple.keyboard.fnState": true})");
  ASSERT_TRUE(log_.wait_for_size(3));
  monitor_.reset();

  const auto texts = log_.texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0],
            R"({"keyboard_types":[],"scroll_direction_is_natural":true,"use_fkeys_as_standard_function_keys":false})");
  EXPECT_EQ(texts[1],
            R"({"keyboard_types":[],"scroll_direction_is_natural":false,"use_fkeys_as_standard_function_keys":false})");
  EXPECT_EQ(texts[2],
            R"({"keyboard_types":[],"scroll_direction_is_natural":false,"use_fkeys_as_standard_function_keys":true})");
}

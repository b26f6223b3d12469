#include "libhbd.h"
#include "platform/preferences/preferences.hpp"
#include "support/event_log.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Keeps each structure handed over as "fkeys t0 t1 ... t7".
void record_properties(const libhbd_system_preferences_properties* properties, void* context) {
  std::string text = properties->use_fkeys_as_standard_function_keys ? "fkeys" : "media";
  for (auto type : properties->keyboard_types) {
    text += fmt::format(" {0}", type);
  }
  static_cast<hbd_test::event_log*>(context)->push(text);
}

void write(std::string_view domain, platform::preferences::user u, platform::preferences::host h,
           const std::string& text) {
  const auto path = platform::preferences::get_store_path(domain, u, h);
  hbd_test::replace_file(path, text);
}

class libhbd_system_preferences_monitor_test : public testing::Test {
protected:
  void SetUp() override {
    platform::preferences::set_folder(directory_.path());
    libhbd_initialize();
    log_.clear();
  }

  void TearDown() override {
    libhbd_terminate();
    platform::preferences::set_folder({});
  }

  hbd_test::temporary_directory directory_;
  hbd_test::log_capture log_;
  hbd_test::event_log calls_;
};

} // namespace

TEST_F(libhbd_system_preferences_monitor_test, the_first_poll_reports_and_later_polls_report_changes) {
  // Keyboard types of other keyboards do not show.
  write("com.apple.keyboardtype", platform::preferences::user::any, platform::preferences::host::current,
        R"({"keyboardtype": {"631-1452-0": 40}})");
  write("Apple Global Domain", platform::preferences::user::current, platform::preferences::host::any,
        R"({"com.apple.keyboard.fnState": true})");
  libhbd_enable_system_preferences_monitor(record_properties, &calls_);
  ASSERT_TRUE(calls_.wait_for_size(1));

  // Only the scroll direction changes: reported, though the structure looks the same.
  write("Apple Global Domain", platform::preferences::user::current, platform::preferences::host::any,
        R"({"com.apple.keyboard.fnState": true, "com.apple.swipescrolldirection": false})");
  ASSERT_TRUE(calls_.wait_for_size(2));

  write("com.apple.keyboardtype", platform::preferences::user::any, platform::preferences::host::current,
        R"({"keyboardtype": {"10203-5824-0": 40, "10203-5824-7": -3, "10203-5824-8": 42, "631-1452-1": 41}})");
  ASSERT_TRUE(calls_.wait_for_size(3));
  libhbd_disable_system_preferences_monitor();

  EXPECT_EQ(calls_.texts(), (std::vector<std::string>{
                                "fkeys -1 -1 -1 -1 -1 -1 -1 -1",
                                "fkeys -1 -1 -1 -1 -1 -1 -1 -1",
                                "fkeys 40 -1 -1 -1 -1 -1 -1 -3",
                            }));
  EXPECT_EQ(log_.texts(),
            (std::vector<std::string>{"libhbd_system_preferences_monitor", "~libhbd_system_preferences_monitor"}));
  EXPECT_EQ(libhbd_system_preferences_properties_get_keyboard_types_size(), 8u);
}

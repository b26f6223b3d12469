#include "libhbd.h"
#include "support/event_log.hpp"
#include "support/file_writer_process.hpp"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::filesystem::path devices_file() {
  return std::filesystem::path(std::getenv("HBD_SYSTEM_ROOT")) /
         "Library/Application Support/org.zunto/tmp/hobbard_grabber_devices.json";
}

// Reads each list handed over into one line ("loaded" or "not loaded", then one part per device)
// and releases it, as its owner must.
void record_list(void* connected_devices, void* context) {
  std::string text = libhbd_connected_devices_is_loaded(connected_devices) ? "loaded" : "not loaded";
  for (size_t i = 0; i < libhbd_connected_devices_get_size(connected_devices); ++i) {
    text += std::string(" ") + libhbd_connected_devices_get_descriptions_manufacturer(connected_devices, i) + "/" +
            libhbd_connected_devices_get_descriptions_product(connected_devices, i) + "/" +
            libhbd_connected_devices_get_descriptions_transport(connected_devices, i) + ":" +
            std::to_string(libhbd_connected_devices_get_vendor_id(connected_devices, i)) + "," +
            std::to_string(libhbd_connected_devices_get_product_id(connected_devices, i)) + "," +
            std::to_string(libhbd_connected_devices_get_is_keyboard(connected_devices, i)) +
            std::to_string(libhbd_connected_devices_get_is_pointing_device(connected_devices, i)) +
            std::to_string(libhbd_connected_devices_get_is_game_pad(connected_devices, i)) + "," +
            libhbd_connected_devices_get_device_address(connected_devices, i) + "," +
            std::to_string(libhbd_connected_devices_get_is_built_in_keyboard(connected_devices, i)) +
            std::to_string(libhbd_connected_devices_get_is_built_in_trackpad(connected_devices, i)) +
            std::to_string(libhbd_connected_devices_get_is_built_in_touch_bar(connected_devices, i));
  }
  libhbd_connected_devices_terminate(&connected_devices);
  static_cast<hbd_test::event_log*>(context)->push(text);
}

bool write(const std::string& text) { return hbd_test::file_writer_process::run({"write", devices_file(), text}); }

// Puts the text in place whole, for a step the monitor may meet while still reading for the one before.
bool replace(const std::string& text) { return hbd_test::file_writer_process::run({"replace", devices_file(), text}); }

class libhbd_connected_devices_monitor_test : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(devices_file().parent_path());
    libhbd_initialize();
    log_.clear();
  }

  void TearDown() override {
    libhbd_terminate();
    std::filesystem::remove_all(devices_file().parent_path());
  }

  hbd_test::log_capture log_;
  hbd_test::event_log lists_;
};

} // namespace

TEST_F(libhbd_connected_devices_monitor_test,
       publishes_each_list_another_process_writes_and_keeps_it_over_broken_ones) {
  libhbd_enable_connected_devices_monitor(record_list, &lists_);
  ASSERT_TRUE(lists_.wait_for_size(1));

  const std::string keyboard = R"(// written by the grabber
    [{"descriptions": {"manufacturer": "M", "product": "K", "transport": "USB"},
      "identifiers": {"vendor_id": 1452, "product_id": 631, "is_keyboard": true, "is_pointing_device": false},
      "is_built_in_keyboard": true}])";
  ASSERT_TRUE(write(keyboard));
  ASSERT_TRUE(lists_.wait_for_size(2));
  // The same bytes again, then a broken file, then a new list: only the last is published.
  ASSERT_TRUE(write(keyboard));
  ASSERT_TRUE(replace(R"([{"descriptions": )"));
  const auto path = devices_file().string();
  ASSERT_TRUE(log_.wait_for_text("parse error in " + path +
                                 ": [json.exception.parse_error.101] parse error at line 1, "
                                 "column 19: syntax error while parsing value - unexpected end of input; expected '[', "
                                 "'{', or a literal"));
  ASSERT_TRUE(write(R"([{"identifiers": {"is_game_pad": true, "device_address": "ec-ba"}}, {}])"));
  ASSERT_TRUE(lists_.wait_for_size(3));
  libhbd_disable_connected_devices_monitor();

  EXPECT_EQ(lists_.texts(), (std::vector<std::string>{
                                "not loaded",
                                "loaded M/K/USB:1452,631,100,,100",
                                "loaded //:0,0,001,ec-ba,000 //:0,0,000,,000",
                            }));
  const auto texts = log_.texts();
  EXPECT_EQ(texts.front(), "libhbd_connected_devices_monitor");
  EXPECT_EQ(texts.back(), "~libhbd_connected_devices_monitor");
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "connected_devices are updated."), 3);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Load " + path + "..."), 3);
}

TEST(libhbd_connected_devices, reading_a_null_list_or_past_its_end_gives_nothing) {
  EXPECT_FALSE(libhbd_connected_devices_is_loaded(nullptr));
  EXPECT_EQ(libhbd_connected_devices_get_size(nullptr), 0u);
  EXPECT_STREQ(libhbd_connected_devices_get_descriptions_product(nullptr, 0), "");
  EXPECT_STREQ(libhbd_connected_devices_get_device_address(nullptr, 3), "");
  EXPECT_EQ(libhbd_connected_devices_get_vendor_id(nullptr, 0), 0u);
  EXPECT_FALSE(libhbd_connected_devices_get_is_built_in_keyboard(nullptr, 0));
  libhbd_connected_devices_terminate(nullptr);
  void* none = nullptr;
  libhbd_connected_devices_terminate(&none);

  // Enabling without a component manager builds nothing.
  hbd_test::event_log lists;
  libhbd_enable_connected_devices_monitor(record_list, &lists);
  libhbd_disable_connected_devices_monitor();
  EXPECT_FALSE(lists.wait_for_size(1, std::chrono::milliseconds(0)));
}

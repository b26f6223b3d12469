#include "libhbd.h"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(libhbd_devices_slots, terminate_destroys_the_device_members_in_their_slot_order_from_the_last) {
  hbd_test::log_capture log;
  libhbd_initialize();
  // Enabled out of slot order, around a member of slot 6.
  libhbd_enable_hid_value_monitor(nullptr, nullptr);
  libhbd_enable_system_preferences_monitor(nullptr, nullptr);
  libhbd_enable_observer_state_json_file_monitor(nullptr, nullptr);
  libhbd_enable_connected_devices_monitor(nullptr, nullptr);
  log.clear();
  libhbd_terminate();
  // The members' own work may log meanwhile; only the frame's lines count here.
  auto texts = log.texts();
  std::erase_if(texts, [](const std::string& text) { return text != "libhbd_terminate" && !text.starts_with("~"); });
  EXPECT_EQ(texts,
            (std::vector<std::string>{"libhbd_terminate", "~libhbd_hid_value_monitor", "~libhbd_file_monitor",
                                      "~libhbd_connected_devices_monitor", "~libhbd_system_preferences_monitor"}));
}

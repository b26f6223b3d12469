#include "hbd/connected_devices/connected_devices.hpp"

#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// One line per device: the texts, the identifiers and the three built-in flags.
std::vector<std::string> summary(const hbd::connected_devices::connected_devices& list) {
  std::vector<std::string> lines;
  for (const auto& d : list.get_devices()) {
    const auto& ids = d.get_identifiers();
    lines.push_back(d.get_descriptions().get_manufacturer() + "|" + d.get_descriptions().get_product() + "|" +
                    d.get_descriptions().get_transport() + "|" +
                    std::to_string(static_cast<std::uint64_t>(ids.get_vendor_id())) + "," +
                    std::to_string(static_cast<std::uint64_t>(ids.get_product_id())) + "," +
                    std::to_string(ids.get_is_keyboard()) + std::to_string(ids.get_is_pointing_device()) +
                    std::to_string(ids.get_is_game_pad()) + "," + ids.get_device_address() + "|" +
                    std::to_string(d.get_is_built_in_keyboard()) + std::to_string(d.get_is_built_in_trackpad()) +
                    std::to_string(d.get_is_built_in_touch_bar()));
  }
  return lines;
}

} // namespace

TEST(connected_devices, reads_the_devices_file_with_defaults_for_what_is_missing_or_mistyped) {
  const struct {
    const char* name;
    std::optional<std::string> text; // none: no file
    bool loaded;
    std::vector<std::string> devices;
    bool logged;
  } cases[] = {
      {"missing file", std::nullopt, false, {}, false},
      {"empty array", "[]", true, {}, false},
      {"object at the top", "{}", true, {}, false},
      {"a whole device, with comments",
       R"([
         // the built-in keyboard
         {
           "descriptions": {"manufacturer": "Maker", "product": "Keys", "transport": "USB"},
           "identifiers": {"vendor_id": 1452, "product_id": 631, "is_keyboard": true},
           "is_built_in_keyboard": true, "is_built_in_trackpad": false, "is_built_in_touch_bar": true,
           "unknown": [1, 2]
         },
         /* a bare device */ {}
       ])",
       true,
       {"Maker|Keys|USB|1452,631,100,|101", "|||0,0,000,|000"},
       false},
      {"values of the wrong kind",
       R"([{"descriptions": {"manufacturer": 7, "product": "P"}, "is_built_in_keyboard": "yes",
            "is_built_in_trackpad": 1}, {"descriptions": []}, 5])",
       true,
       {"|P||0,0,000,|000", "|||0,0,000,|000", "|||0,0,000,|000"},
       false},
      {"unreadable identifiers keep the devices before them",
       R"([{"identifiers": {"vendor_id": 1}}, {"identifiers": {"vendor_id": "x"}}, {}])",
       false,
       {"|||1,0,000,|000"},
       true},
      {"truncated", R"([{"descriptions": {"product": "P"}}, {"identi)", false, {}, true},
      {"nested without end", std::string(100000, '[') + std::string(100000, ']'), false, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hbd_test::temporary_directory directory;
    const auto path = directory.path() / "hobbard_grabber_devices.json";
    if (c.text) {
      hbd_test::write_file(path, *c.text);
    }
    hbd_test::log_capture log;
    const hbd::connected_devices::connected_devices list(path);
    EXPECT_EQ(list.is_loaded(), c.loaded);
    EXPECT_EQ(summary(list), c.devices);
    const auto texts = log.texts();
    if (c.logged) {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_TRUE(texts[0].starts_with("parse error in " + path.string() + ": ")) << texts[0];
    } else {
      EXPECT_TRUE(texts.empty());
    }
  }
}

TEST(connected_devices, what_cannot_be_read_whole_is_not_loaded_and_never_waited_for) {
  for (const auto kind :
       {hbd_test::hostile_file::fifo, hbd_test::hostile_file::endless_device, hbd_test::hostile_file::sparse}) {
    SCOPED_TRACE(static_cast<int>(kind));
    hbd_test::temporary_directory directory;
    const auto path = directory.path() / "hobbard_grabber_devices.json";
    hbd_test::make_hostile_file(path, kind, zunto::osx::file_monitor::maximum_file_size + 1);
    hbd_test::watchdog watchdog("reading the devices file");
    const hbd::connected_devices::connected_devices list(path);
    EXPECT_FALSE(list.is_loaded());
    EXPECT_TRUE(list.get_devices().empty());
  }
}

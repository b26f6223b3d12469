#include "hbd/iokit_utility.hpp"

#include "support/registry_entry_owner.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace iokit = platform::iokit;
using hbd_test::registry_entry_owner;

namespace {

// A located HID service with one parent at the same location.
struct simulated_device {
  simulated_device() {
    iokit::registry_entry_set_hid_usage_pairs(service.get(), {{1, 6}});
    iokit::registry_entry_set_number_property(service.get(), "LocationID", 0x1000);
    iokit::registry_entry_set_number_property(parent.get(), "LocationID", 0x1000);
    iokit::registry_entry_attach_to_parent(service.get(), parent.get());
  }

  bool is_virtual() const {
    iokit::hid_device_ref device = iokit::hid_device_create(service.get());
    const bool result = hbd::iokit_utility::is_hobbard_virtual_hid_device(device);
    platform::cf::release(device);
    return result;
  }

  registry_entry_owner service{"IOHIDDevice"};
  registry_entry_owner parent{"IOHIDInterface"};
};

} // namespace

TEST(iokit_utility, virtual_devices_carry_exactly_the_makers_manufacturer) {
  struct test_case {
    std::string name;
    std::function<void(const simulated_device&)> set_up;
    bool expected;
  };
  auto own = [](std::string_view text) {
    return [text](const simulated_device& d) {
      iokit::registry_entry_set_string_property(d.service.get(), "Manufacturer", text);
    };
  };
  const std::vector<test_case> cases{
      {"own", own("zunto.org"), true},
      {"parent's",
       [](const simulated_device& d) {
         iokit::registry_entry_set_string_property(d.parent.get(), "Manufacturer", "zunto.org");
       },
       true},
      {"missing", [](const simulated_device&) {}, false},
      {"other maker", own("Apple Inc."), false},
      {"other case", own("Zunto.org"), false},
      {"longer", own("zunto.org "), false},
      {"shorter", own("zunto.or"), false},
      {"not a string",
       [](const simulated_device& d) { iokit::registry_entry_set_number_property(d.service.get(), "Manufacturer", 1); },
       false},
  };
  for (const auto& c : cases) {
    simulated_device device;
    c.set_up(device);
    EXPECT_EQ(device.is_virtual(), c.expected) << c.name;
  }
  EXPECT_FALSE(hbd::iokit_utility::is_hobbard_virtual_hid_device(nullptr));
}

TEST(iokit_utility, kinds_come_from_the_generic_desktop_usages) {
  struct test_case {
    std::vector<iokit::hid_usage_pair> usage_pairs;
    bool pointing;
    bool game_pad;
  };
  const std::vector<test_case> cases{
      {{{1, 1}}, true, false},
      {{{1, 2}}, true, false},
      {{{1, 4}}, false, true},
      {{{1, 5}}, false, true},
      {{{1, 6}}, false, false},
      {{{12, 1}, {9, 2}}, false, false},
      {{{1, 6}, {1, 2}, {1, 5}}, true, true},
  };
  for (const auto& c : cases) {
    registry_entry_owner service("IOHIDDevice");
    iokit::registry_entry_set_hid_usage_pairs(service.get(), c.usage_pairs);
    iokit::hid_device_ref device = iokit::hid_device_create(service.get());
    const zunto::osx::iokit_hid_device hid_device(device);
    platform::cf::release(device);
    EXPECT_EQ(hbd::iokit_utility::is_pointing_device(hid_device), c.pointing) << c.usage_pairs.front().usage;
    EXPECT_EQ(hbd::iokit_utility::is_game_pad(hid_device), c.game_pad) << c.usage_pairs.front().usage;
  }
  const zunto::osx::iokit_hid_device empty(nullptr);
  EXPECT_FALSE(hbd::iokit_utility::is_pointing_device(empty));
  EXPECT_FALSE(hbd::iokit_utility::is_game_pad(empty));
}

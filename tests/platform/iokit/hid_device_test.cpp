#include "platform/iokit/hid_device.hpp"

#include "support/registry_entry_owner.hpp"

#include <gtest/gtest.h>

namespace iokit = platform::iokit;
using hbd_test::registry_entry_owner;

TEST(platform_iokit_hid_device, only_hid_services_make_devices) {
  registry_entry_owner plain("IOService");
  EXPECT_EQ(iokit::hid_device_create(plain.get()), nullptr);
  EXPECT_EQ(iokit::hid_device_create(nullptr), nullptr);

  // An empty list still marks a HID service, one that conforms to nothing.
  iokit::registry_entry_set_hid_usage_pairs(plain.get(), {});
  iokit::hid_device_ref device = iokit::hid_device_create(plain.get());
  ASSERT_NE(device, nullptr);
  EXPECT_FALSE(iokit::hid_device_conforms_to(device, 1, 6));
  platform::cf::release(device);
}

TEST(platform_iokit_hid_device, conformance_follows_the_services_current_pairs) {
  registry_entry_owner service("IOHIDDevice");
  iokit::registry_entry_set_hid_usage_pairs(service.get(), {{1, 6}, {12, 1}});
  iokit::hid_device_ref device = iokit::hid_device_create(service.get());
  ASSERT_NE(device, nullptr);

  EXPECT_TRUE(iokit::hid_device_conforms_to(device, 1, 6));
  EXPECT_TRUE(iokit::hid_device_conforms_to(device, 12, 1));
  EXPECT_FALSE(iokit::hid_device_conforms_to(device, 1, 1));
  EXPECT_FALSE(iokit::hid_device_conforms_to(device, 6, 1));

  iokit::registry_entry_set_hid_usage_pairs(service.get(), {{1, 2}});
  EXPECT_FALSE(iokit::hid_device_conforms_to(device, 1, 6));
  EXPECT_TRUE(iokit::hid_device_conforms_to(device, 1, 2));
  EXPECT_FALSE(iokit::hid_device_conforms_to(nullptr, 1, 2));
  platform::cf::release(device);
}

TEST(platform_iokit_hid_device, a_device_keeps_its_service_alive) {
  iokit::registry_entry_ref service = iokit::registry_entry_create("IOHIDDevice");
  iokit::registry_entry_set_hid_usage_pairs(service, {{1, 6}});
  iokit::hid_device_ref device = iokit::hid_device_create(service);
  iokit::registry_entry_terminate(service);
  platform::cf::release(service);

  EXPECT_EQ(iokit::hid_device_get_service(device), service);
  EXPECT_EQ(platform::cf::get_retain_count(service), 1);
  EXPECT_TRUE(iokit::hid_device_conforms_to(device, 1, 6));
  platform::cf::release(device);
  EXPECT_EQ(iokit::hid_device_get_service(nullptr), nullptr);
}

#include "libhbd.h"
#include "platform/iokit/registry.hpp"
#include "support/registry_entry_owner.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

TEST(libhbd_driver, each_check_finds_only_its_own_service_by_name) {
  const struct {
    const char* name;
    std::function<bool()> check;
  } cases[] = {
      {"org_zunto_Hobbard_DriverKit_VirtualHIDDeviceRoot", [] { return libhbd_driver_running(); }},
      {"org_zunto_Hobbard_DriverKit_VirtualHIDKeyboard", [] { return libhbd_virtual_hid_keyboard_exists(); }},
      {"org_zunto_Hobbard_DriverKit_VirtualHIDPointing", [] { return libhbd_virtual_hid_pointing_exists(); }},
  };

  for (const auto& c : cases) {
    EXPECT_FALSE(c.check()) << c.name;
  }

  for (const auto& present : cases) {
    SCOPED_TRACE(present.name);
    std::optional<hbd_test::registry_entry_owner> service;
    service.emplace("IOUserService");
    platform::iokit::registry_entry_set_name(service->get(), present.name);
    for (const auto& c : cases) {
      EXPECT_EQ(c.check(), &c == &present) << c.name;
    }
    // A service that left the registry is not running any more.
    service.reset();
    EXPECT_FALSE(present.check());
  }
}

TEST(libhbd_driver, the_class_name_alone_does_not_count) {
  hbd_test::registry_entry_owner service("org_zunto_Hobbard_DriverKit_VirtualHIDDeviceRoot");
  platform::iokit::registry_entry_set_name(service.get(), "IOUserService");
  EXPECT_FALSE(libhbd_driver_running());
}

#include "platform/iokit/matching.hpp"

#include "support/registry_entry_owner.hpp"

#include <gtest/gtest.h>

#include <barrier>
#include <string>
#include <thread>
#include <vector>

namespace iokit = platform::iokit;
using hbd_test::registry_entry_owner;

namespace {

// The matching entries, in the order the registry gives them.
std::vector<iokit::registry_entry_ref> find(iokit::matching_ref matching) {
  auto entries = hbd_test::drain(iokit::get_matching_services(matching));
  platform::cf::release(matching);
  return entries;
}

} // namespace

TEST(platform_iokit_matching, class_matching_finds_registered_entries_oldest_first) {
  registry_entry_owner keyboard("IOHIDDevice");
  registry_entry_owner other("IOUSBHostDevice");
  registry_entry_owner mouse("IOHIDDevice");

  EXPECT_EQ(find(iokit::service_matching("IOHIDDevice")),
            (std::vector<iokit::registry_entry_ref>{keyboard.get(), mouse.get()}));
  EXPECT_TRUE(find(iokit::service_matching("IOHIDDev")).empty());

  iokit::registry_entry_terminate(keyboard.get());
  EXPECT_EQ(find(iokit::service_matching("IOHIDDevice")), (std::vector<iokit::registry_entry_ref>{mouse.get()}));
}

TEST(platform_iokit_matching, name_matching_uses_the_name_which_starts_as_the_class_name) {
  registry_entry_owner root("org_zunto_Hobbard_DriverKit_VirtualHIDDeviceRoot");
  registry_entry_owner renamed("IOUserService");
  iokit::registry_entry_set_name(renamed.get(), "org_zunto_Hobbard_DriverKit_VirtualHIDKeyboard");

  EXPECT_EQ(find(iokit::service_name_matching("org_zunto_Hobbard_DriverKit_VirtualHIDDeviceRoot")),
            (std::vector<iokit::registry_entry_ref>{root.get()}));
  EXPECT_EQ(find(iokit::service_name_matching("org_zunto_Hobbard_DriverKit_VirtualHIDKeyboard")),
            (std::vector<iokit::registry_entry_ref>{renamed.get()}));
  EXPECT_TRUE(find(iokit::service_name_matching("IOUserService")).empty());
  EXPECT_TRUE(find(iokit::service_matching("org_zunto_Hobbard_DriverKit_VirtualHIDKeyboard")).empty());
}

TEST(platform_iokit_matching, the_single_service_is_the_oldest_match_or_null) {
  registry_entry_owner first("IOHIDDevice");
  registry_entry_owner second("IOHIDDevice");

  iokit::matching_ref matching = iokit::service_matching("IOHIDDevice");
  iokit::registry_entry_ref found = iokit::get_matching_service(matching);
  EXPECT_EQ(found, first.get());
  platform::cf::release(found);
  platform::cf::release(matching);

  matching = iokit::service_matching("missing");
  EXPECT_EQ(iokit::get_matching_service(matching), nullptr);
  platform::cf::release(matching);

  EXPECT_EQ(iokit::get_matching_service(nullptr), nullptr);
  EXPECT_EQ(iokit::get_matching_services(nullptr), nullptr);
}

TEST(platform_iokit_matching, concurrent_building_and_matching_keep_the_registry_whole) {
  constexpr int thread_count = 4;
  constexpr int rounds = 200;
  std::barrier start(thread_count);
  std::vector<std::thread> threads;
  for (int t = 0; t < thread_count; ++t) {
    threads.emplace_back([&start, t] {
      const std::string class_name = "concurrent_" + std::to_string(t);
      start.arrive_and_wait();
      for (int i = 0; i < rounds; ++i) {
        registry_entry_owner entry(class_name);
        iokit::registry_entry_set_number_property(entry.get(), "LocationID", i);
        // Every thread's entries are its own, so each match sees exactly the one just made.
        auto found = find(iokit::service_matching(class_name));
        ASSERT_EQ(found, (std::vector<iokit::registry_entry_ref>{entry.get()}));
        find(iokit::service_matching("IOHIDDevice"));
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  EXPECT_TRUE(find(iokit::service_matching("concurrent_0")).empty());
}

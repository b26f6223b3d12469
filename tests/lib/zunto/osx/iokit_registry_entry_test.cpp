#include "zunto/osx/iokit_registry_entry.hpp"

#include "platform/cf/boolean.hpp"
#include "support/registry_entry_owner.hpp"
#include "zunto/cf/make_cf_string.hpp"
#include "zunto/osx/iokit_iterator.hpp"

#include <gtest/gtest.h>

#include <string>

namespace iokit = platform::iokit;
using zunto::cf::make_cf_string;
using zunto::osx::iokit_registry_entry;

TEST(iokit_registry_entry, properties_of_the_asked_type_only) {
  hbd_test::registry_entry_owner owner("IOHIDDevice");
  iokit::registry_entry_set_number_property(owner.get(), "LocationID", -0x14000000);
  iokit::registry_entry_set_string_property(owner.get(), "Product", "Magic Keyboard");
  iokit::registry_entry_set_boolean_property(owner.get(), "Built-In", true);
  const iokit_registry_entry entry(owner.get());

  EXPECT_EQ(entry.find_int64_property(make_cf_string("LocationID").get()), -0x14000000);
  EXPECT_EQ(entry.find_string_property(make_cf_string("Product").get()), "Magic Keyboard");

  EXPECT_EQ(entry.find_int64_property(make_cf_string("Product").get()), std::nullopt);
  EXPECT_EQ(entry.find_string_property(make_cf_string("LocationID").get()), std::nullopt);
  EXPECT_EQ(entry.find_int64_property(make_cf_string("Built-In").get()), std::nullopt);
  EXPECT_EQ(entry.find_string_property(make_cf_string("Built-In").get()), std::nullopt);
  EXPECT_EQ(entry.find_int64_property(make_cf_string("VendorID").get()), std::nullopt);
  EXPECT_EQ(entry.find_int64_property(nullptr), std::nullopt);
}

TEST(iokit_registry_entry, a_key_without_direct_utf8_bytes_still_finds_the_property) {
  hbd_test::registry_entry_owner owner("IOHIDDevice");
  iokit::registry_entry_set_number_property(owner.get(), "VendorID", 1452);
  platform::cf::string_ref key = platform::cf::string_create_with_utf16(u"VendorID");
  EXPECT_EQ(iokit_registry_entry(owner.get()).find_int64_property(key), 1452);
  platform::cf::release(key);
}

TEST(iokit_registry_entry, an_empty_entry_has_nothing) {
  const iokit_registry_entry entry;
  EXPECT_FALSE(entry);
  EXPECT_EQ(entry.find_int64_property(make_cf_string("LocationID").get()), std::nullopt);
  EXPECT_EQ(entry.find_string_property(make_cf_string("Product").get()), std::nullopt);
  EXPECT_EQ(entry.find_registry_entry_id(), std::nullopt);
  EXPECT_FALSE(entry.get_parent_iterator());
  EXPECT_FALSE(entry.get_parent_iterator().next());
}

TEST(iokit_registry_entry, id_and_parents_come_from_the_registry) {
  hbd_test::registry_entry_owner child("IOHIDDevice");
  hbd_test::registry_entry_owner parent("IOUSBHostInterface");
  iokit::registry_entry_attach_to_parent(child.get(), parent.get());
  const iokit_registry_entry entry(child.get());

  EXPECT_EQ(entry.find_registry_entry_id(),
            zunto::osx::iokit_registry_entry_id::value_t{*iokit::registry_entry_get_registry_entry_id(child.get())});
  const auto parents = entry.get_parent_iterator();
  EXPECT_EQ(parents.next().get(), parent.get());
  EXPECT_FALSE(parents.next());
}

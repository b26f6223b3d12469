#include "platform/iokit/registry.hpp"

#include "platform/cf/boolean.hpp"
#include "platform/cf/number.hpp"
#include "platform/cf/string.hpp"
#include "support/registry_entry_owner.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace iokit = platform::iokit;
using hbd_test::drain;
using hbd_test::registry_entry_owner;

namespace {

using property_value = std::variant<std::monostate, std::int64_t, std::string, bool>;

// The property as the value it holds, checking its type on the way.
property_value read_property(iokit::registry_entry_ref entry, std::string_view key) {
  platform::cf::type_ref object = iokit::registry_entry_create_property(entry, key);
  property_value result;
  if (const auto* number = dynamic_cast<platform::cf::number_ref>(object)) {
    result = *platform::cf::number_get_int64(number);
  } else if (const auto* string = dynamic_cast<platform::cf::string_ref>(object)) {
    result = std::string(platform::cf::string_get_c_string_ptr(string, platform::cf::string_encoding::utf8));
  } else if (const auto* boolean = dynamic_cast<platform::cf::boolean_ref>(object)) {
    result = platform::cf::boolean_get_value(boolean);
  }
  platform::cf::release(object);
  return result;
}

} // namespace

TEST(platform_iokit_registry, entries_get_distinct_non_zero_ids) {
  registry_entry_owner first("IOService");
  registry_entry_owner second("IOService");
  auto first_id = iokit::registry_entry_get_registry_entry_id(first.get());
  auto second_id = iokit::registry_entry_get_registry_entry_id(second.get());
  ASSERT_TRUE(first_id && second_id);
  EXPECT_NE(*first_id, 0u);
  EXPECT_NE(*first_id, *second_id);
  EXPECT_EQ(iokit::registry_entry_get_registry_entry_id(nullptr), std::nullopt);
}

TEST(platform_iokit_registry, properties_keep_their_type_and_can_be_replaced_or_removed) {
  registry_entry_owner entry("IOHIDDevice");
  iokit::registry_entry_set_number_property(entry.get(), "VendorID", 1452);
  iokit::registry_entry_set_string_property(entry.get(), "Product", "Apple Internal Keyboard");
  iokit::registry_entry_set_boolean_property(entry.get(), "Built-In", true);

  EXPECT_EQ(read_property(entry.get(), "VendorID"), property_value(std::int64_t{1452}));
  EXPECT_EQ(read_property(entry.get(), "Product"), property_value(std::string("Apple Internal Keyboard")));
  EXPECT_EQ(read_property(entry.get(), "Built-In"), property_value(true));
  EXPECT_EQ(read_property(entry.get(), "ProductID"), property_value());

  // A key takes whatever type its latest value has.
  iokit::registry_entry_set_string_property(entry.get(), "VendorID", "1452");
  EXPECT_EQ(read_property(entry.get(), "VendorID"), property_value(std::string("1452")));

  iokit::registry_entry_set_property(entry.get(), "VendorID", nullptr);
  EXPECT_EQ(read_property(entry.get(), "VendorID"), property_value());

  // Bytes that are not UTF-8 make no string, so the old value goes too.
  iokit::registry_entry_set_string_property(entry.get(), "Product", "\xff\xfe");
  EXPECT_EQ(read_property(entry.get(), "Product"), property_value());
}

TEST(platform_iokit_registry, a_read_property_outlives_its_replacement) {
  registry_entry_owner entry("IOService");
  iokit::registry_entry_set_string_property(entry.get(), "Product", "first");
  platform::cf::type_ref held = iokit::registry_entry_create_property(entry.get(), "Product");
  iokit::registry_entry_set_string_property(entry.get(), "Product", "second");

  auto* string = dynamic_cast<platform::cf::string_ref>(held);
  ASSERT_NE(string, nullptr);
  EXPECT_STREQ(platform::cf::string_get_c_string_ptr(string, platform::cf::string_encoding::utf8), "first");
  platform::cf::release(held);
}

TEST(platform_iokit_registry, parents_come_in_the_order_they_were_attached) {
  registry_entry_owner child("IOHIDDevice");
  registry_entry_owner first("IOUSBHostInterface");
  registry_entry_owner second("IOUSBHostDevice");
  EXPECT_TRUE(iokit::registry_entry_attach_to_parent(child.get(), first.get()));
  EXPECT_TRUE(iokit::registry_entry_attach_to_parent(child.get(), second.get()));

  EXPECT_EQ(drain(iokit::registry_entry_get_parent_iterator(child.get())),
            (std::vector<iokit::registry_entry_ref>{first.get(), second.get()}));
  EXPECT_TRUE(drain(iokit::registry_entry_get_parent_iterator(first.get())).empty());
  EXPECT_EQ(iokit::registry_entry_get_parent_iterator(nullptr), nullptr);
  EXPECT_EQ(iokit::iterator_next(nullptr), nullptr);
}

TEST(platform_iokit_registry, links_that_would_loop_or_repeat_are_refused) {
  registry_entry_owner child("IOHIDDevice");
  registry_entry_owner parent("IOUSBHostInterface");
  registry_entry_owner grandparent("IOUSBHostDevice");
  ASSERT_TRUE(iokit::registry_entry_attach_to_parent(child.get(), parent.get()));
  ASSERT_TRUE(iokit::registry_entry_attach_to_parent(parent.get(), grandparent.get()));

  EXPECT_FALSE(iokit::registry_entry_attach_to_parent(child.get(), parent.get()));
  EXPECT_FALSE(iokit::registry_entry_attach_to_parent(child.get(), child.get()));
  EXPECT_FALSE(iokit::registry_entry_attach_to_parent(grandparent.get(), child.get()));
  EXPECT_FALSE(iokit::registry_entry_attach_to_parent(child.get(), nullptr));
  EXPECT_FALSE(iokit::registry_entry_attach_to_parent(nullptr, parent.get()));

  EXPECT_EQ(drain(iokit::registry_entry_get_parent_iterator(child.get())),
            (std::vector<iokit::registry_entry_ref>{parent.get()}));
}

TEST(platform_iokit_registry, a_terminated_entry_lives_on_for_its_holders) {
  iokit::registry_entry_ref entry = iokit::registry_entry_create("IOService");
  iokit::registry_entry_set_number_property(entry, "LocationID", 7);
  const auto id = iokit::registry_entry_get_registry_entry_id(entry);

  iokit::registry_entry_terminate(entry);
  iokit::registry_entry_terminate(entry);
  EXPECT_EQ(platform::cf::get_retain_count(entry), 1);
  EXPECT_EQ(iokit::registry_entry_get_registry_entry_id(entry), id);
  EXPECT_EQ(read_property(entry, "LocationID"), property_value(std::int64_t{7}));
  platform::cf::release(entry);
}

TEST(platform_iokit_registry, null_entries_are_ignored) {
  iokit::registry_entry_terminate(nullptr);
  iokit::registry_entry_set_name(nullptr, "name");
  iokit::registry_entry_set_number_property(nullptr, "VendorID", 1);
  EXPECT_EQ(iokit::registry_entry_create_property(nullptr, "VendorID"), nullptr);
}

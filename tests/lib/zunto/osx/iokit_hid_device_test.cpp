#include "zunto/osx/iokit_hid_device.hpp"

#include "support/registry_entry_owner.hpp"
#include "zunto/cf/make_cf_string.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace iokit = platform::iokit;
using hbd_test::registry_entry_owner;
using zunto::cf::make_cf_string;
using zunto::osx::iokit_hid_device;
using zunto::osx::iokit_registry_entry;

namespace {

constexpr std::int64_t device_location = 0x14200000;
constexpr std::int64_t other_location = 0x14300000;

// A device entry with two parents:
//   same_location (same "LocationID")  <- its parent grandparent (same "LocationID")
//   other (another "LocationID")       <- its parent other_parent (other's "LocationID")
//   unlocated (no "LocationID")        <- its parent beyond_unlocated (same "LocationID")
class iokit_hid_device_tree : public testing::Test {
protected:
  iokit_hid_device_tree() {
    iokit::registry_entry_set_hid_usage_pairs(service_.get(), {{1, 6}});
    for (auto* entry : {&service_, &same_location_, &grandparent_, &beyond_unlocated_}) {
      iokit::registry_entry_set_number_property(entry->get(), "LocationID", device_location);
    }
    iokit::registry_entry_set_number_property(other_.get(), "LocationID", other_location);
    iokit::registry_entry_set_number_property(other_parent_.get(), "LocationID", other_location);
    iokit::registry_entry_attach_to_parent(service_.get(), same_location_.get());
    iokit::registry_entry_attach_to_parent(service_.get(), other_.get());
    iokit::registry_entry_attach_to_parent(service_.get(), unlocated_.get());
    iokit::registry_entry_attach_to_parent(same_location_.get(), grandparent_.get());
    iokit::registry_entry_attach_to_parent(other_.get(), other_parent_.get());
    iokit::registry_entry_attach_to_parent(unlocated_.get(), beyond_unlocated_.get());
    device_ = iokit::hid_device_create(service_.get());
  }

  ~iokit_hid_device_tree() override { platform::cf::release(device_); }

  static void set_string(const registry_entry_owner& entry, std::string_view key, std::string_view value) {
    iokit::registry_entry_set_string_property(entry.get(), key, value);
  }

  registry_entry_owner service_{"IOHIDDevice"};
  registry_entry_owner same_location_{"IOUSBHostInterface"};
  registry_entry_owner grandparent_{"IOUSBHostDevice"};
  registry_entry_owner other_{"IOUSBHostInterface"};
  registry_entry_owner other_parent_{"IOUSBHostDevice"};
  registry_entry_owner unlocated_{"IOService"};
  registry_entry_owner beyond_unlocated_{"IOService"};
  iokit::hid_device_ref device_ = nullptr;
};

std::vector<iokit::registry_entry_ref> refs(const std::vector<iokit_registry_entry>& entries) {
  std::vector<iokit::registry_entry_ref> result;
  for (const auto& entry : entries) {
    result.push_back(entry.get());
  }
  return result;
}

} // namespace

TEST_F(iokit_hid_device_tree, parents_are_the_ancestors_sharing_a_location_depth_first) {
  // other is skipped, yet its own parent shares other's location and is taken.
  EXPECT_EQ(refs(iokit_hid_device::get_parent_registry_entries(iokit_registry_entry(service_.get()))),
            (std::vector{same_location_.get(), grandparent_.get(), other_parent_.get()}));
  EXPECT_TRUE(iokit_hid_device::get_parent_registry_entries(iokit_registry_entry(unlocated_.get())).empty());
  EXPECT_TRUE(iokit_hid_device::get_parent_registry_entries(iokit_registry_entry()).empty());
}

TEST_F(iokit_hid_device_tree, own_property_first_then_the_first_parent_that_has_it) {
  const iokit_hid_device device(device_);
  const auto product = make_cf_string("Product");

  set_string(other_parent_, "Product", "from other_parent");
  EXPECT_EQ(device.find_string_property(product.get(), true), "from other_parent");
  EXPECT_EQ(device.find_string_property(product.get(), false), std::nullopt);

  set_string(grandparent_, "Product", "from grandparent");
  EXPECT_EQ(device.find_string_property(product.get(), true), "from grandparent");

  // A parent's value of another type counts as absent, so the search goes on past it.
  iokit::registry_entry_set_number_property(same_location_.get(), "Product", 1);
  EXPECT_EQ(device.find_string_property(product.get(), true), "from grandparent");

  set_string(service_, "Product", "own");
  EXPECT_EQ(device.find_string_property(product.get(), true), "own");
  EXPECT_EQ(device.find_string_property(product.get(), false), "own");
}

TEST_F(iokit_hid_device_tree, number_properties_follow_the_same_search) {
  const iokit_hid_device device(device_);
  const auto vendor_id = make_cf_string("VendorID");

  iokit::registry_entry_set_number_property(beyond_unlocated_.get(), "VendorID", 9);
  EXPECT_EQ(device.find_int64_property(vendor_id.get(), true), std::nullopt);

  iokit::registry_entry_set_string_property(grandparent_.get(), "VendorID", "1452");
  iokit::registry_entry_set_number_property(other_parent_.get(), "VendorID", 1452);
  EXPECT_EQ(device.find_int64_property(vendor_id.get(), true), 1452);
  EXPECT_EQ(device.find_int64_property(vendor_id.get(), false), std::nullopt);

  // The device's own location is read from its own entry like any other property.
  EXPECT_EQ(device.get_registry_entry().find_int64_property(make_cf_string("LocationID").get()), device_location);
}

TEST_F(iokit_hid_device_tree, conformance_and_copies_share_the_device) {
  const iokit_hid_device device(device_);
  EXPECT_TRUE(device.conforms_to(zunto::hid::usage_page::value_t{1}, zunto::hid::usage::value_t{6}));
  EXPECT_FALSE(device.conforms_to(zunto::hid::usage_page::value_t{1}, zunto::hid::usage::value_t{2}));

  const iokit_hid_device copy = device;
  EXPECT_EQ(copy.get_device(), device_);
  EXPECT_EQ(copy.get_registry_entry().get(), service_.get());
  EXPECT_EQ(platform::cf::get_retain_count(device_), 3);
}

TEST(iokit_hid_device, a_null_device_reads_nothing) {
  const iokit_hid_device device(nullptr);
  EXPECT_EQ(device.get_device(), nullptr);
  EXPECT_FALSE(device.get_registry_entry());
  EXPECT_EQ(device.find_int64_property(make_cf_string("VendorID").get(), true), std::nullopt);
  EXPECT_EQ(device.find_string_property(make_cf_string("Product").get(), true), std::nullopt);
  EXPECT_FALSE(device.conforms_to(zunto::hid::usage_page::value_t{1}, zunto::hid::usage::value_t{6}));
}

#include "hbd/device_properties.hpp"

#include "support/registry_entry_owner.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace iokit = platform::iokit;
using hbd::device_properties;
using hbd_test::registry_entry_owner;

namespace {

using property = std::variant<std::int64_t, std::string>;
using properties = std::vector<std::pair<std::string, property>>;

const std::vector<iokit::hid_usage_pair> keyboard{{1, 6}};
const std::vector<iokit::hid_usage_pair> mouse{{1, 2}};
const std::vector<iokit::hid_usage_pair> keyboard_and_pointer{{1, 6}, {1, 1}};
const std::vector<iokit::hid_usage_pair> game_pad{{1, 5}};
const std::vector<iokit::hid_usage_pair> consumer{{12, 1}};

void set_properties(iokit::registry_entry_ref entry, const properties& values) {
  for (const auto& [key, value] : values) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
      iokit::registry_entry_set_number_property(entry, key, *number);
    } else {
      iokit::registry_entry_set_string_property(entry, key, std::get<std::string>(value));
    }
  }
}

// A HID service with the given properties and, when parent_properties is not empty, one parent.
class simulated_device final {
public:
  simulated_device(const std::vector<iokit::hid_usage_pair>& usage_pairs, const properties& own,
                   const properties& parent_properties = {}) {
    iokit::registry_entry_set_hid_usage_pairs(service_.get(), usage_pairs);
    set_properties(service_.get(), own);
    if (!parent_properties.empty()) {
      set_properties(parent_.get(), parent_properties);
      iokit::registry_entry_attach_to_parent(service_.get(), parent_.get());
    }
    device_ = iokit::hid_device_create(service_.get());
  }

  ~simulated_device() { platform::cf::release(device_); }

  simulated_device(const simulated_device&) = delete;
  simulated_device& operator=(const simulated_device&) = delete;

  device_properties read(std::uint64_t id = 1) const {
    return device_properties(zunto::osx::iokit_registry_entry_id::value_t{id}, device_);
  }

private:
  registry_entry_owner service_{"IOHIDDevice"};
  registry_entry_owner parent_{"IOHIDInterface"};
  iokit::hid_device_ref device_ = nullptr;
};

// Only the marks; every case below also checks what it is about beside them.
struct marks {
  std::optional<bool> built_in_keyboard;
  std::optional<bool> built_in_pointing_device;
  std::optional<bool> built_in_touch_bar;

  bool operator==(const marks&) const = default;
};

marks marks_of(const device_properties& p) {
  return {p.get_is_built_in_keyboard(), p.get_is_built_in_pointing_device(), p.get_is_built_in_touch_bar()};
}

std::string describe(const marks& m) {
  auto text = [](const std::optional<bool>& flag) { return flag ? (*flag ? "true" : "false") : "absent"; };
  return std::string("keyboard ") + text(m.built_in_keyboard) + ", pointing " + text(m.built_in_pointing_device) +
         ", touch bar " + text(m.built_in_touch_bar);
}

constexpr std::int64_t apple = 0x05ac;
constexpr std::int64_t touch_bar = 0x8600;

} // namespace

TEST(device_properties, built_in_marks) {
  struct test_case {
    std::string name;
    std::vector<iokit::hid_usage_pair> usage_pairs;
    properties own;
    marks expected;
  };
  const std::optional<bool> yes = true;
  const std::vector<test_case> cases{
      {"touch bar by ids", keyboard, {{"VendorID", apple}, {"ProductID", touch_bar}}, {{}, {}, yes}},
      {"touch bar ids, other name",
       keyboard,
       {{"VendorID", apple}, {"ProductID", touch_bar}, {"Product", "Panel"}},
       {}},
      {"touch bar user device", consumer, {{"Product", "TouchBarUserDevice"}}, {{}, {}, yes}},
      {"touch bar name on other ids",
       consumer,
       {{"VendorID", 1}, {"Product", "Apple Internal Touch Bar"}},
       {{}, {}, yes}},
      {"internal keyboard", keyboard, {{"Product", "Apple Internal Keyboard / Trackpad"}}, {yes, {}, {}}},
      {"internal trackpad", mouse, {{"Product", "Apple Internal Keyboard / Trackpad"}}, {{}, yes, {}}},
      {"internal name anywhere", keyboard, {{"Product", "Old Apple Internal Keyboard"}}, {yes, {}, {}}},
      {"internal, both kinds", keyboard_and_pointer, {{"Product", "Apple Internal Keyboard / Trackpad"}}, {}},
      {"internal, neither kind", game_pad, {{"Product", "Apple Internal Controller"}}, {}},
      {"internal without the blank", keyboard, {{"Product", "Apple InternalKeyboard"}}, {}},
      {"name of another type", keyboard, {{"Product", 7}}, {}},
      {"FIFO keyboard", keyboard, {{"Product", "Magic Keyboard"}, {"Transport", "FIFO"}}, {yes, {}, {}}},
      {"FIFO keyboard and pointer", keyboard_and_pointer, {{"Transport", "FIFO"}}, {yes, yes, {}}},
      {"FIFO game pad", game_pad, {{"Transport", "FIFO"}}, {}},
      {"fifo in lower case", keyboard, {{"Transport", "fifo"}}, {}},
      {"FIFO with more", keyboard, {{"Transport", "FIFO "}}, {}},
      {"USB keyboard", keyboard, {{"Product", "Magic Keyboard"}, {"Transport", "USB"}}, {}},
      {"touch bar name and FIFO", keyboard, {{"Product", "TouchBarUserDevice"}, {"Transport", "FIFO"}}, {yes, {}, yes}},
      {"internal name and FIFO, both kinds",
       keyboard_and_pointer,
       {{"Product", "Apple Internal Keyboard / Trackpad"}, {"Transport", "FIFO"}},
       {yes, yes, {}}},
  };
  for (const auto& c : cases) {
    const simulated_device device(c.usage_pairs, c.own);
    EXPECT_EQ(marks_of(device.read()), c.expected) << c.name << ": " << describe(marks_of(device.read()));
  }
}

TEST(device_properties, touch_bar_names_fill_only_what_is_missing) {
  {
    const simulated_device device(keyboard, {{"VendorID", apple}, {"ProductID", touch_bar}});
    const auto p = device.read();
    EXPECT_EQ(p.get_manufacturer(), "Apple Inc.");
    EXPECT_EQ(p.get_product(), "Apple Internal Touch Bar");
  }
  {
    const simulated_device device(keyboard,
                                  {{"VendorID", apple}, {"ProductID", touch_bar}, {"Manufacturer", "zunto.org"}});
    const auto p = device.read();
    EXPECT_EQ(p.get_manufacturer(), "zunto.org");
    EXPECT_EQ(p.get_product(), "Apple Internal Touch Bar");
    EXPECT_EQ(p.get_is_hobbard_virtual_hid_device(), true);
  }
  {
    // Other Apple products get no names; nor do other makers' products with the same number.
    const simulated_device other_product(keyboard, {{"VendorID", apple}, {"ProductID", 0x0250}});
    EXPECT_EQ(other_product.read().get_product(), std::nullopt);
    EXPECT_EQ(other_product.read().get_manufacturer(), std::nullopt);
    const simulated_device other_vendor(keyboard, {{"VendorID", 0x046d}, {"ProductID", touch_bar}});
    EXPECT_EQ(other_vendor.read().get_product(), std::nullopt);
  }
}

TEST(device_properties, reads_every_property_with_the_parent_search) {
  const simulated_device device(game_pad,
                                {{"LocationID", 0x14200000},
                                 {"Product", "Pro Controller"},
                                 {"SerialNumber", 12345},
                                 {"DeviceAddress", "aa-bb-cc-dd-ee-ff"}},
                                {{"LocationID", 0x14200000},
                                 {"VendorID", 0x057e},
                                 {"ProductID", 0x2009},
                                 {"Manufacturer", "Nintendo"},
                                 {"Product", "parent's name"},
                                 {"SerialNumber", "from the parent"},
                                 {"Transport", "Bluetooth"}});
  const auto p = device.read(0x100000123);

  EXPECT_EQ(p.get_device_id(), zunto::osx::iokit_registry_entry_id::value_t{0x100000123});
  EXPECT_EQ(p.get_vendor_id(), zunto::hid::vendor_id::value_t{0x057e});
  EXPECT_EQ(p.get_product_id(), zunto::hid::product_id::value_t{0x2009});
  EXPECT_EQ(p.get_location_id(), 0x14200000);
  EXPECT_EQ(p.get_manufacturer(), "Nintendo");
  EXPECT_EQ(p.get_product(), "Pro Controller");
  // The device's own number does not count as a string, so the parent's string wins.
  EXPECT_EQ(p.get_serial_number(), "from the parent");
  EXPECT_EQ(p.get_transport(), "Bluetooth");
  EXPECT_EQ(p.get_device_address(), "aa-bb-cc-dd-ee-ff");
  EXPECT_EQ(p.get_is_keyboard(), false);
  EXPECT_EQ(p.get_is_pointing_device(), false);
  EXPECT_EQ(p.get_is_game_pad(), true);
  EXPECT_EQ(p.get_is_hobbard_virtual_hid_device(), false);
  EXPECT_EQ(marks_of(p), marks{});
}

TEST(device_properties, what_the_registry_lacks_or_mistypes_stays_absent) {
  // Without its own location the device's parents are not searched, and a parent's location is
  // never the device's.
  const simulated_device unlocated(keyboard, {{"VendorID", "1452"}, {"Manufacturer", 1}},
                                   {{"LocationID", 0x1000}, {"ProductID", 0x0250}, {"Product", "Keyboard"}});
  const auto p = unlocated.read();
  EXPECT_EQ(p.get_vendor_id(), std::nullopt);
  EXPECT_EQ(p.get_product_id(), std::nullopt);
  EXPECT_EQ(p.get_location_id(), std::nullopt);
  EXPECT_EQ(p.get_manufacturer(), std::nullopt);
  EXPECT_EQ(p.get_product(), std::nullopt);
  EXPECT_EQ(p.get_is_keyboard(), true);
  EXPECT_EQ(p.get_device_identifiers(),
            hbd::device_identifiers(zunto::hid::vendor_id::value_t{0}, zunto::hid::product_id::value_t{0}, true, false,
                                    false, ""));
}

TEST(device_properties, a_null_device_gives_false_kinds_and_nothing_else) {
  const device_properties p(zunto::osx::iokit_registry_entry_id::value_t{7}, nullptr);
  EXPECT_EQ(p.get_device_id(), zunto::osx::iokit_registry_entry_id::value_t{7});
  EXPECT_EQ(p.get_vendor_id(), std::nullopt);
  EXPECT_EQ(p.get_product(), std::nullopt);
  EXPECT_EQ(p.get_is_keyboard(), false);
  EXPECT_EQ(p.get_is_pointing_device(), false);
  EXPECT_EQ(p.get_is_game_pad(), false);
  EXPECT_EQ(p.get_is_hobbard_virtual_hid_device(), false);
  EXPECT_EQ(marks_of(p), marks{});
  EXPECT_EQ(p.get_device_identifiers(), hbd::device_identifiers());
}

TEST(device_properties, identifiers_carry_the_address_only_without_ids) {
  const simulated_device bluetooth(keyboard, {{"VendorID", 0}, {"ProductID", 0}, {"DeviceAddress", "ec-81-93"}});
  const auto without_ids = bluetooth.read().get_device_identifiers();
  EXPECT_EQ(without_ids.get_device_address(), "ec-81-93");
  EXPECT_TRUE(without_ids.get_is_keyboard());

  const simulated_device usb(mouse, {{"VendorID", apple}, {"ProductID", 0x0269}, {"DeviceAddress", "ec-81-93"}});
  const auto p = usb.read();
  EXPECT_EQ(p.get_device_address(), "ec-81-93");
  EXPECT_EQ(p.get_device_identifiers(),
            hbd::device_identifiers(zunto::hid::vendor_id::value_t{apple}, zunto::hid::product_id::value_t{0x0269},
                                    false, true, false, ""));
}

TEST(device_properties, equality_covers_the_read_fields) {
  const properties base{{"VendorID", apple},       {"ProductID", 0x0250},   {"LocationID", 0x1000},
                        {"Manufacturer", "Apple"}, {"Product", "Keyboard"}, {"SerialNumber", "S1"},
                        {"Transport", "USB"},      {"DeviceAddress", "a1"}};
  const simulated_device reference(keyboard, base);
  const auto p = reference.read();
  EXPECT_EQ(p, reference.read());
  EXPECT_EQ(p, device_properties(p));
  EXPECT_NE(p, reference.read(2));

  for (const auto& [key, value] : base) {
    properties changed = base;
    for (auto& entry : changed) {
      if (entry.first == key) {
        entry.second = std::holds_alternative<std::int64_t>(value) ? property(std::get<std::int64_t>(value) + 1)
                                                                   : property(std::get<std::string>(value) + "x");
      }
    }
    const simulated_device other(keyboard, changed);
    EXPECT_NE(p, other.read()) << key;
  }
  for (const auto& usage_pairs : {mouse, game_pad, keyboard_and_pointer}) {
    const simulated_device other(usage_pairs, base);
    EXPECT_NE(p, other.read()) << usage_pairs.back().usage;
  }
}

TEST(device_properties, copies_and_moves_keep_every_field) {
  const simulated_device device(keyboard, {{"VendorID", apple}, {"ProductID", touch_bar}, {"Transport", "FIFO"}});
  const auto original = device.read();
  auto target = device_properties(zunto::osx::iokit_registry_entry_id::value_t{9}, nullptr);
  auto copy = original;
  target = std::move(copy);
  EXPECT_EQ(target, original);
  EXPECT_EQ(marks_of(target), marks_of(original));
  EXPECT_EQ(target.get_device_identifiers(), original.get_device_identifiers());
  EXPECT_EQ(target.get_is_hobbard_virtual_hid_device(), false);
}

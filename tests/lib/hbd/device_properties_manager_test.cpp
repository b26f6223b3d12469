#include "hbd/device_properties_manager.hpp"

#include <gtest/gtest.h>

#include <memory>

using hbd::device_properties;
using id = zunto::osx::iokit_registry_entry_id::value_t;

TEST(device_properties_manager, one_entry_per_id_the_latest_insert_wins) {
  hbd::device_properties_manager manager;
  auto first = std::make_shared<device_properties>(id{1}, nullptr);
  auto second = std::make_shared<device_properties>(id{1}, nullptr);

  manager.insert(id{1}, first);
  manager.insert(id{1}, second);
  EXPECT_EQ(manager.get_device_properties().size(), 1u);
  EXPECT_EQ(manager.find(id{1}), second);

  // The value insert keeps its own copy.
  const device_properties value(id{2}, nullptr);
  manager.insert(id{2}, value);
  ASSERT_NE(manager.find(id{2}), nullptr);
  EXPECT_EQ(*manager.find(id{2}), value);
  EXPECT_EQ(manager.get_device_properties().size(), 2u);

  manager.erase(id{1});
  EXPECT_EQ(manager.find(id{1}), nullptr);
  manager.erase(id{3});
  EXPECT_EQ(manager.get_device_properties().size(), 1u);
}

TEST(device_properties_manager, a_null_entry_is_kept_as_null) {
  hbd::device_properties_manager manager;
  manager.insert(id{5}, std::shared_ptr<device_properties>());
  EXPECT_EQ(manager.get_device_properties().count(id{5}), 1u);
  EXPECT_EQ(manager.find(id{5}), nullptr);
}

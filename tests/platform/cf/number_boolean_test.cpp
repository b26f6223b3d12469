#include "platform/cf/boolean.hpp"
#include "platform/cf/number.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(platform_cf_number, keeps_the_whole_signed_range_and_null_has_no_value) {
  for (std::int64_t value : {std::numeric_limits<std::int64_t>::min(), std::int64_t{-1}, std::int64_t{0},
                             std::numeric_limits<std::int64_t>::max()}) {
    platform::cf::number_ref number = platform::cf::number_create_int64(value);
    EXPECT_EQ(platform::cf::number_get_int64(number), value);
    platform::cf::release(number);
  }
  EXPECT_EQ(platform::cf::number_get_int64(nullptr), std::nullopt);
}

TEST(platform_cf_boolean, the_shared_objects_survive_extra_releases) {
  platform::cf::boolean_ref yes = platform::cf::boolean_get(true);
  EXPECT_EQ(platform::cf::boolean_get(true), yes);
  EXPECT_NE(platform::cf::boolean_get(false), yes);
  platform::cf::retain(yes);
  platform::cf::release(yes);
  EXPECT_TRUE(platform::cf::boolean_get_value(yes));
  EXPECT_FALSE(platform::cf::boolean_get_value(platform::cf::boolean_get(false)));
  EXPECT_FALSE(platform::cf::boolean_get_value(nullptr));
}

#include "zunto/json/number.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using nlohmann::json;

template <class T>
constexpr T max = std::numeric_limits<T>::max();
template <class T>
constexpr T min = std::numeric_limits<T>::min();

} // namespace

TEST(saturating_number, converts_like_the_json_library_within_range) {
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(250.9)), 250);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(-250.9)), -250);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(true)), 1);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(false)), 0);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(-5)), -5);
  EXPECT_EQ(zunto::json::saturating_number<std::uint64_t>(json(max<std::uint64_t>)), max<std::uint64_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int64_t>(json(min<std::int64_t>)), min<std::int64_t>);
  EXPECT_THROW(zunto::json::saturating_number<std::int32_t>(json("1")), json::type_error);
  EXPECT_THROW(zunto::json::saturating_number<std::int32_t>(json(nullptr)), json::type_error);
}

TEST(saturating_number, out_of_range_gives_the_nearest_bound) {
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(1e300)), max<std::int32_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(-1e300)), min<std::int32_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(2147483648.0)), max<std::int32_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(-2147483649.0)), min<std::int32_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(std::int64_t{1} << 40)), max<std::int32_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(-(std::int64_t{1} << 40))), min<std::int32_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(json(max<std::uint64_t>)), max<std::int32_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::uint64_t>(json(-1)), 0u);
  EXPECT_EQ(zunto::json::saturating_number<std::uint64_t>(json(-0.5)), 0u);
  EXPECT_EQ(zunto::json::saturating_number<std::uint64_t>(json(1e300)), max<std::uint64_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::uint64_t>(json(18446744073709551616.0)), max<std::uint64_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int64_t>(json(9223372036854775808.0)), max<std::int64_t>);
  EXPECT_EQ(zunto::json::saturating_number<std::int64_t>(json(-9223372036854775808.0)), min<std::int64_t>);
  // Not from a parse, but a value built in code can hold them.
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(std::nan("")), 0);
  EXPECT_EQ(zunto::json::saturating_number<std::int32_t>(std::numeric_limits<double>::infinity()), max<std::int32_t>);
}

TEST(unsigned_64_bit_pattern, integers_wrap_and_floating_point_saturates) {
  EXPECT_EQ(zunto::json::unsigned_64_bit_pattern(json(-1)), max<std::uint64_t>);
  EXPECT_EQ(zunto::json::unsigned_64_bit_pattern(json(min<std::int64_t>)), std::uint64_t{1} << 63);
  EXPECT_EQ(zunto::json::unsigned_64_bit_pattern(json(1452.9)), 1452u);
  EXPECT_EQ(zunto::json::unsigned_64_bit_pattern(json(-1.0)), 0u);
  EXPECT_EQ(zunto::json::unsigned_64_bit_pattern(json(1e300)), max<std::uint64_t>);
}

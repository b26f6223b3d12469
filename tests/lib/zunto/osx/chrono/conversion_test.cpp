#include "zunto/osx/chrono/conversion.hpp"

#include "platform/mach/absolute_time.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using zunto::osx::chrono::absolute_time_duration;
using zunto::osx::chrono::make_absolute_time_duration;
using zunto::osx::chrono::make_nanoseconds;

// The timebase is fetched once per process, so each timebase gets a process of its own.
void expect_conversions(platform::mach::timebase_info timebase, std::int64_t nanoseconds_of_one_unit,
                        std::int64_t units_of_a_millisecond) {
  EXPECT_EXIT(
      {
        platform::mach::set_timebase_info(timebase);
        const bool ok =
            make_nanoseconds(absolute_time_duration(1)).count() == nanoseconds_of_one_unit &&
            make_absolute_time_duration(std::chrono::nanoseconds(1'000'000)).count() == units_of_a_millisecond;
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(chrono_conversion, uses_the_host_timebase_and_truncates) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  expect_conversions({125, 3}, 41, 24'000);
  expect_conversions({1, 1}, 1, 1'000'000);
}

TEST(chrono_conversion, absolute_time_runs_forward) {
  const auto first = zunto::osx::chrono::now();
  const auto second = zunto::osx::chrono::now();
  EXPECT_LE(first, second);
  EXPECT_GT(first.count(), 0);
}

} // namespace

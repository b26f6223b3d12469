#include "zunto/osx/kern_return.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(kern_return, names_the_code_field_or_prints_the_whole_value) {
  const struct {
    std::uint32_t value;
    std::string name;
  } cases[] = {
      {0, "KERN_SUCCESS"},
      {5, "KERN_FAILURE"},
      {52, "KERN_INSUFFICIENT_BUFFER_SIZE"},
      {53, "Unknown kern_return_t (53)"},
      // System and subsystem bits do not count; the code field 700 is beyond the table.
      {0x10000003, "KERN_NO_SPACE"},
      {0xE00002BC, "Unknown kern_return_t (-536870212)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zunto::osx::kern_return(static_cast<std::int32_t>(c.value)).to_string(), c.name) << c.value;
  }
}

#include "zunto/osx/process_info.hpp"

#include "platform/process_info/process_info.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstring>
#include <string>

TEST(process_info_bridge, unique_string_is_copied_cut_to_fit_and_terminated) {
  std::array<char, 64> full;
  full.fill('#');
  zunto_osx_process_info_create_globally_unique_string(full.data(), static_cast<int32_t>(full.size()));
  const std::string text(full.data());
  EXPECT_EQ(text.size(), 36u); // uuid text
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF-"), std::string::npos);

  std::array<char, 64> second;
  zunto_osx_process_info_create_globally_unique_string(second.data(), static_cast<int32_t>(second.size()));
  EXPECT_NE(std::string(second.data()), text);

  const struct {
    int32_t size;
    std::size_t expected_length;
    bool writes;
  } cases[] = {
      {37, 36, true}, {10, 9, true}, {1, 0, true}, {0, 0, false}, {-1, 0, false}, {INT32_MIN, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    std::array<char, 64> buffer;
    buffer.fill('#');
    zunto_osx_process_info_create_globally_unique_string(buffer.data(), c.size);
    if (!c.writes) {
      EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string(buffer.size(), '#'));
      continue;
    }
    EXPECT_EQ(std::strlen(buffer.data()), c.expected_length);
    EXPECT_EQ(buffer[c.expected_length + 1], '#'); // not a byte past the size
  }

  zunto_osx_process_info_create_globally_unique_string(nullptr, 16); // no crash
}

TEST(process_info_bridge, process_identifier_and_sudden_termination_reach_the_platform) {
  EXPECT_EQ(zunto_osx_process_info_process_identifier(), static_cast<int32_t>(::getpid()));

  const auto disables = platform::process_info::sudden_termination_disable_calls();
  const auto enables = platform::process_info::sudden_termination_enable_calls();
  zunto_osx_process_info_disable_sudden_termination();
  EXPECT_EQ(platform::process_info::sudden_termination_disable_calls(), disables + 1);
  EXPECT_EQ(platform::process_info::sudden_termination_enable_calls(), enables);
  zunto_osx_process_info_enable_sudden_termination();
  EXPECT_EQ(platform::process_info::sudden_termination_enable_calls(), enables + 1);
}

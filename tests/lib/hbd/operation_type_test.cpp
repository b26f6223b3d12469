#include "hbd/operation_type.hpp"

#include <gtest/gtest.h>

#include <vector>

TEST(operation_type, json_is_the_name_and_null_outside_the_known_kinds) {
  struct name_case {
    int value;
    nlohmann::json expected;
  };
  const std::vector<name_case> cases = {
      {0, nullptr},          {1, "momentary_switch_event_arrived"},
      {9, "set_app_icon"},   {10, "set_keyboard_type"},
      {11, "set_variables"}, {15, "end_"},
      {16, nullptr},         {200, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(nlohmann::json(static_cast<hbd::operation_type>(c.value)), c.expected) << c.value;
  }
}

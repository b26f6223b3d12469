#include "hbd/core_configuration/details/global_configuration.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using hbd::core_configuration::details::global_configuration;
using nlohmann::json;

std::vector<bool> values(const global_configuration& g) {
  return {g.get_check_for_updates_on_startup(), g.get_show_in_menu_bar(), g.get_show_profile_name_in_menu_bar(),
          g.get_ask_for_confirmation_before_quitting(), g.get_unsafe_ui()};
}

const std::vector<bool> defaults = {true, true, false, true, false};

} // namespace

TEST(global_configuration, members_of_another_kind_read_as_defaults) {
  const json cases[] = {
      json::object(),
      json::parse(R"({"check_for_updates_on_startup": null, "show_in_menu_bar": 0,
                      "show_profile_name_in_menu_bar": "true", "ask_for_confirmation_before_quitting": [],
                      "unsafe_ui": {}})"),
      json(nullptr),
      json::array({true}),
  };
  for (const auto& value : cases) {
    SCOPED_TRACE(value.dump());
    global_configuration g(value);
    EXPECT_EQ(values(g), defaults);
    auto written = g.to_json();
    EXPECT_EQ(written["show_in_menu_bar"], true);
    EXPECT_EQ(written["unsafe_ui"], false);
    EXPECT_EQ(written.size(), 5u);
  }
}

TEST(global_configuration, reads_booleans_and_keeps_unknown_members) {
  global_configuration g(json::parse(R"({"unsafe_ui": true, "show_in_menu_bar": false, "future": {"a": [1]}})"));
  EXPECT_EQ(values(g), (std::vector<bool>{true, false, false, true, true}));

  g.set_show_profile_name_in_menu_bar(true);
  g.set_check_for_updates_on_startup(false);
  EXPECT_EQ(g.to_json(), json::parse(R"({"future": {"a": [1]}, "check_for_updates_on_startup": false,
    "show_in_menu_bar": false, "show_profile_name_in_menu_bar": true, "ask_for_confirmation_before_quitting": true,
    "unsafe_ui": true})"));
}

#include "hbd/core_configuration/details/complex_modifications.hpp"

#include "support/unmarshal_error_message.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <string>

namespace {

using hbd::core_configuration::details::complex_modifications;
using hbd::core_configuration::details::complex_modifications_parameters;
using hbd::core_configuration::details::complex_modifications_rule;
using nlohmann::json;

json rule_json(const std::string& description) {
  return json{{"description", description}, {"manipulators", json::array({json::object()})}};
}

complex_modifications with_rules(const std::string& descriptions) {
  auto rules = json::array();
  for (char c : descriptions) {
    rules.push_back(rule_json(std::string(1, c)));
  }
  return complex_modifications(json{{"rules", rules}});
}

std::string descriptions(const complex_modifications& m) {
  std::string result;
  for (const auto& rule : m.get_rules()) {
    result += rule.get_description();
  }
  return result;
}

} // namespace

TEST(complex_modifications, an_empty_object_gives_defaults_and_writes_both_members) {
  for (const auto& m : {complex_modifications(), complex_modifications(json::object())}) {
    EXPECT_TRUE(m.get_rules().empty());
    EXPECT_EQ(m.get_parameters().get_mouse_motion_to_scroll_speed(), 100);
    EXPECT_EQ(m.to_json(),
              (json{{"parameters", complex_modifications_parameters().to_json()}, {"rules", json::array()}}));
  }
}

TEST(complex_modifications, reads_rules_with_its_parameters_and_keeps_unknown_members) {
  // The rules are built with the object's own parameters.
  auto value = json::parse(R"({
    "rules": [{"manipulators": [{}]}],
    "parameters": {"basic.to_if_alone_timeout_milliseconds": 123, "extra": true},
    "unknown": "kept"
  })");
  complex_modifications m(value);
  ASSERT_EQ(m.get_rules().size(), 1u);
  EXPECT_EQ(m.get_rules()[0].get_manipulators()[0].get_parameters().get_basic_to_if_alone_timeout_milliseconds(), 123);

  auto written = m.to_json();
  EXPECT_EQ(written["unknown"], "kept");
  EXPECT_EQ(written["parameters"]["extra"], true);
  EXPECT_EQ(written["rules"], value["rules"]);
}

TEST(complex_modifications, rules_of_another_kind_are_ignored_and_errors_propagate) {
  EXPECT_TRUE(complex_modifications(json{{"rules", json::object()}}).get_rules().empty());
  EXPECT_TRUE(complex_modifications(json{{"rules", "x"}}).get_rules().empty());

  EXPECT_EQ(hbd_test::unmarshal_error_message([] { complex_modifications(json(1)); }),
            "json must be object, but is `1`");
  EXPECT_THROW(complex_modifications(json{{"rules", json::array({json::object()})}}), zunto::json::unmarshal_error);
}

TEST(complex_modifications, move_rule) {
  constexpr auto huge = std::numeric_limits<std::size_t>::max();
  const struct {
    std::size_t source;
    std::size_t destination;
    const char* expected;
  } cases[] = {
      {0, 2, "BAC"}, {0, 3, "BCA"},    {2, 0, "CAB"},    {0, 1, "ABC"},
      {1, 1, "ABC"}, {2, 1, "ACB"},    {1, 3, "ACB"},    {1, 0, "BAC"}, // neighbours
      {0, 7, "BCA"}, {0, huge, "BCA"},                                  // a destination past the end means the end
      {7, 0, "CAB"}, {huge, 0, "CAB"}, {huge, 1, "ACB"},                // a source past the end is the last rule
      {5, 4, "ABC"}, {huge, 3, "ABC"}, {3, 5, "ABC"},                   // both past the end: nothing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.source) + " -> " + std::to_string(c.destination));
    auto m = with_rules("ABC");
    m.move_rule(c.source, c.destination);
    EXPECT_EQ(descriptions(m), c.expected);
  }

  complex_modifications empty;
  empty.move_rule(0, 1);
  empty.move_rule(huge, 0);
  EXPECT_TRUE(empty.get_rules().empty());
}

TEST(complex_modifications, replace_and_erase_rules) {
  auto m = with_rules("ABC");
  complex_modifications_rule replacement(rule_json("X"), complex_modifications_parameters());

  m.replace_rule(3, replacement);
  m.erase_rule(3);
  EXPECT_EQ(descriptions(m), "ABC");

  m.replace_rule(1, replacement);
  EXPECT_EQ(descriptions(m), "AXC");
  EXPECT_EQ(m.to_json()["rules"][1], rule_json("X"));

  m.erase_rule(0);
  EXPECT_EQ(descriptions(m), "XC");

  // The C interface inserts at the front and swaps through the rule list.
  m.get_rules().insert(m.get_rules().begin(), replacement);
  EXPECT_EQ(descriptions(m), "XXC");
}

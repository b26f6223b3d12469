#include "hbd/core_configuration/details/complex_modifications_rule.hpp"

#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using hbd::core_configuration::details::complex_modifications_parameters;
using hbd::core_configuration::details::complex_modifications_rule;
using nlohmann::json;

std::string error_of(const json& value) {
  return hbd_test::unmarshal_error_message(
      [&] { complex_modifications_rule(value, complex_modifications_parameters()); });
}

} // namespace

TEST(complex_modifications_rule, reads_manipulators_conditions_and_descriptions) {
  auto value = json::parse(R"({
    "unknown": 1,
    "manipulators": [
      {"type": "basic", "from": {"key_code": "a"}},
      {"type": "basic", "description": "second", "conditions": [{"type": "x"}, {"type": "y"}]}
    ]
  })");
  complex_modifications_rule rule(value, complex_modifications_parameters());
  EXPECT_EQ(rule.get_json(), value);
  ASSERT_EQ(rule.get_manipulators().size(), 2u);
  EXPECT_EQ(rule.get_manipulators()[0].get_json(), value["manipulators"][0]);
  EXPECT_TRUE(rule.get_manipulators()[0].get_conditions().empty());
  ASSERT_EQ(rule.get_manipulators()[1].get_conditions().size(), 2u);
  EXPECT_EQ(rule.get_manipulators()[1].get_conditions()[1].get_json(), json::parse(R"({"type": "y"})"));
  // No description of its own: the first manipulator that has one lends it.
  EXPECT_EQ(rule.get_description(), "second");

  value["description"] = "own";
  EXPECT_EQ(complex_modifications_rule(value, complex_modifications_parameters()).get_description(), "own");
}

TEST(complex_modifications_rule, manipulator_parameters_merge_over_the_rules) {
  complex_modifications_parameters parameters(json{{"basic.to_if_alone_timeout_milliseconds", 700}});
  complex_modifications_rule rule(json::parse(R"({"manipulators": [
    {"parameters": {"basic.to_if_alone_timeout_milliseconds": 300}},
    {}
  ]})"),
                                  parameters);
  EXPECT_EQ(rule.get_manipulators()[0].get_parameters().get_basic_to_if_alone_timeout_milliseconds(), 300);
  EXPECT_EQ(rule.get_manipulators()[1].get_parameters().get_basic_to_if_alone_timeout_milliseconds(), 700);
  EXPECT_EQ(rule.get_manipulators()[0].get_parameters().get_basic_simultaneous_threshold_milliseconds(), 50);
}

TEST(complex_modifications_rule, errors_name_the_member) {
  const auto long_description = std::string(300, 'd');
  const struct {
    json value;
    std::string message;
  } cases[] = {
      {json(5), "json must be object, but is `5`"},
      {json::parse(R"({"manipulators": []})"), R"(`manipulators` is missing or empty in {"manipulators":[]})"},
      {json::parse(R"({"description": "x"})"), R"(`manipulators` is missing or empty in {"description":"x"})"},
      {json::parse(R"({"description": 5, "manipulators": [{}]})"), "`description` must be string, but is `5`"},
      {json::parse(R"({"available_since": 1, "manipulators": [{}]})"), "`available_since` must be string, but is `1`"},
      {json::parse(R"({"manipulators": {}})"), "`manipulators` must be array, but is `{}`"},
      {json::parse(R"({"manipulators": [1]})"), "`manipulators` entry error: json must be object, but is `1`"},
      {json::parse(R"({"manipulators": [{"conditions": {}}]})"),
       "`manipulators` entry error: `conditions` must be array, but is `{}`"},
      {json::parse(R"({"manipulators": [{"description": []}]})"),
       "`manipulators` entry error: `description` must be string, but is `[]`"},
      {json::parse(R"({"manipulators": [{"parameters": 1}]})"),
       "`manipulators` entry error: `parameters` must be object, but is `1`"},
      // The quoted rule is cut to 256 bytes.
      {json{{"description", long_description}}, "`manipulators` is missing or empty in " +
                                                    json{{"description", long_description}}.dump().substr(0, 253) +
                                                    "..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.dump());
    EXPECT_EQ(error_of(c.value), c.message);
  }
}

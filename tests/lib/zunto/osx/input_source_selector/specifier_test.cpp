#include "zunto/osx/input_source_selector/specifier.hpp"

#include "support/unmarshal_error_message.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <string>

namespace {

using nlohmann::json;
using zunto::bounded_regex;
using zunto::osx::input_source::properties;
using zunto::osx::input_source_selector::specifier;

specifier read(const json& value) {
  specifier result;
  from_json(value, result);
  return result;
}

properties make_properties(std::optional<std::string> language,
                           std::optional<std::string> input_source_id = std::nullopt,
                           std::optional<std::string> input_mode_id = std::nullopt) {
  properties result;
  result.first_language = std::move(language);
  result.input_source_id = std::move(input_source_id);
  result.input_mode_id = std::move(input_mode_id);
  return result;
}

TEST(input_source_selector, tests_each_expression_by_search) {
  struct row {
    json selector;
    properties input_source;
    bool matches;
  };
  const row rows[] = {
      {json::object(), properties{}, true},
      {json::object(), make_properties("fr", "com.example.French"), true},
      {{{"language", "^en"}}, make_properties("en"), true},
      {{{"language", "^en"}}, make_properties("en-GB"), true},
      {{{"language", "^en"}}, make_properties("fr-en"), false},
      {{{"language", "^en"}}, make_properties(std::nullopt), false},
      {{{"input_source_id", "US"}}, make_properties(std::nullopt, "com.example.keylayout.US"), true},
      {{{"input_source_id", "US"}}, make_properties(std::nullopt, "com.example.keylayout.ABC"), false},
      {{{"input_source_id", "US"}}, make_properties(std::nullopt), false},
      {{{"input_mode_id", "Roman$"}}, make_properties(std::nullopt, std::nullopt, "com.example.Roman"), true},
      {{{"language", "^ja$"}, {"input_mode_id", "Roman$"}},
       make_properties("ja", std::nullopt, "com.example.Kana"),
       false},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(read(r.selector).test(r.input_source), r.matches) << r.selector.dump();
  }
}

TEST(input_source_selector, reading_errors) {
  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              read({{"language", 1}});
            }),
            "`language` must be string, but is `1`");
  EXPECT_EQ(hbd_test::unmarshal_error_message([] { read({{"lang", "en"}}); }), "unknown key: `lang`");
  EXPECT_EQ(hbd_test::unmarshal_error_message([] { read(json::array()); }), "json must be object, but is `[]`");

  const auto unclosed = hbd_test::unmarshal_error_message([] { read({{"language", "(en"}}); });
  EXPECT_THAT(unclosed, testing::EndsWith(": `\"language\":\"(en\"`"));
  EXPECT_NE(unclosed, ": `\"language\":\"(en\"`");
}

TEST(input_source_selector, equality_and_hash_follow_the_strings) {
  const json value = {{"language", "^en"}, {"input_source_id", "US"}};
  EXPECT_EQ(read(value), read(value));
  EXPECT_EQ(std::hash<specifier>{}(read(value)), std::hash<specifier>{}(read(value)));
  EXPECT_NE(read({{"input_mode_id", "a"}}), read({{"input_mode_id", "b"}}));
  EXPECT_NE(read({{"input_mode_id", "a"}}), read(json::object()));

  // A copy keeps its compiled expressions.
  const specifier original = read({{"language", "^en"}});
  const specifier copy = original;
  EXPECT_TRUE(copy.test(make_properties("en")));
  EXPECT_FALSE(copy.test(make_properties("de")));
}

// The standard engine backtracks; the patterns and texts of rules are bounded so that a hostile
// rule can neither hang the event path nor overflow its stack.
TEST(input_source_selector, expressions_and_texts_are_bounded) {
  // Exponential on a backtracking matcher; answered at once here.
  EXPECT_FALSE(read({{"language", "(a|a)*b"}}).test(make_properties(std::string(26, 'a'))));
  EXPECT_TRUE(read({{"language", "(a|a)*b"}}).test(make_properties(std::string(26, 'a') + "b")));

  // Back-references could make any search exponential: they are refused.
  EXPECT_EQ(hbd_test::unmarshal_error_message([&] {
              read({{"language", "(a*)*\\1b"}});
            }),
            "The regular expression holds a back-reference, which rules do not support.: "
            "`\"language\":\"(a*)*\\\\1b\"`");

  const std::string longest(bounded_regex::max_subject_size, 'a');
  EXPECT_TRUE(read({{"language", "a$"}}).test(make_properties(longest)));
  EXPECT_FALSE(read({{"language", "a$"}}).test(make_properties(longest + "a")));

  const std::string pattern(bounded_regex::max_pattern_size, 'x');
  EXPECT_TRUE(read({{"input_source_id", pattern.substr(0, 1000)}})
                  .test(make_properties(std::nullopt, pattern.substr(0, 1000))));
  EXPECT_FALSE(read({{"input_source_id", pattern}}).test(make_properties(std::nullopt, pattern.substr(0, 1000))));
  const auto message = hbd_test::unmarshal_error_message([&] { read({{"input_source_id", pattern + "x"}}); });
  EXPECT_THAT(message,
              testing::StartsWith("The regular expression is longer than 4096 bytes.: `\"input_source_id\":\""));
}

} // namespace

#include "zunto/json/parse_with_depth_limit.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using zunto::json::parse_with_depth_limit;

std::string nested_arrays(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

} // namespace

TEST(parse_with_depth_limit, parses_like_the_json_library_with_comments_skipped) {
  const std::string text = R"(// leading
  {"b": [1, 2.5, "x", null, true], /* between */ "a": {"c": -3}, "a": {"d": 18446744073709551615}})";
  EXPECT_EQ(parse_with_depth_limit(text), nlohmann::json::parse(text, nullptr, true, true));
}

TEST(parse_with_depth_limit, gives_the_json_library_message_for_bad_syntax) {
  for (const std::string text : {"", "{", "[1,]", "{\"a\": 1} x", "\"\xff\"", "/* open"}) {
    SCOPED_TRACE(text);
    std::string expected;
    try {
      auto ignored = nlohmann::json::parse(text, nullptr, true, true);
    } catch (const nlohmann::json::parse_error& e) {
      expected = e.what();
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_THAT([&] { (void)parse_with_depth_limit(text); },
                testing::ThrowsMessage<nlohmann::json::parse_error>(testing::StrEq(expected)));
  }
}

TEST(parse_with_depth_limit, refuses_a_number_beyond_a_double_as_bad_syntax) {
  const std::string digits(400, '9');
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"1e400", "[json.exception.parse_error.101] parse error at line 1, column 5: number overflow parsing '1e400'"},
      {"-1e400", "[json.exception.parse_error.101] parse error at line 1, column 6: number overflow parsing '-1e400'"},
      {"[0, " + digits + "]",
       "[json.exception.parse_error.101] parse error at line 1, column 404: number overflow parsing '" + digits + "'"},
      {"// a comment\n{\"a\": {\"b\": -" + digits + "}}",
       "[json.exception.parse_error.101] parse error at line 2, column 413: number overflow parsing '-" + digits + "'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_THAT([&] { (void)parse_with_depth_limit(c.text); },
                testing::ThrowsMessage<nlohmann::json::parse_error>(testing::StrEq(c.message)));
  }
  // The largest doubles still read.
  EXPECT_EQ(parse_with_depth_limit("[1.7976931348623157e308, -4.9e-324, 1e-400]").dump(),
            "[1.7976931348623157e+308,-5e-324,0.0]");
}

TEST(parse_with_depth_limit, refuses_one_level_past_the_limit_and_counts_only_real_brackets) {
  EXPECT_EQ(parse_with_depth_limit(nested_arrays(4), 4).dump(), "[[[[]]]]");
  EXPECT_EQ(parse_with_depth_limit(R"({"a": {"b": [{}]}})", 4).dump(), R"({"a":{"b":[{}]}})");
  EXPECT_THAT([] { (void)parse_with_depth_limit(nested_arrays(5), 4); },
              testing::ThrowsMessage<zunto::json::depth_error>(testing::StrEq("JSON is nested deeper than 4 levels")));
  EXPECT_THROW((void)parse_with_depth_limit(R"([{"a": [{}]}])", 3), zunto::json::depth_error);

  // Brackets inside strings and comments are text.
  EXPECT_NO_THROW((void)parse_with_depth_limit(R"(["[[[[[", /* [[[[[ */ "{{{{{"])", 1));
}

TEST(parse_with_depth_limit, stops_a_very_deep_value_before_it_is_built) {
  EXPECT_THROW((void)parse_with_depth_limit(nested_arrays(200000)), zunto::json::depth_error);
  EXPECT_THROW((void)parse_with_depth_limit(std::string(200000, '[')), zunto::json::depth_error);
  EXPECT_NO_THROW((void)parse_with_depth_limit(nested_arrays(zunto::json::default_max_depth)));
}

TEST(parse_with_depth_limit, tells_how_deep_the_value_nests) {
  const struct {
    const char* text;
    std::size_t depth;
  } cases[] = {
      {"1", 0}, {"null", 0}, {"[]", 1}, {"{}", 1}, {R"({"a": [1, {"b": []}], "c": {}})", 4}, {"[[], [[[]]], []]", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::size_t depth = 99;
    const auto value = parse_with_depth_limit(c.text, 8, depth);
    EXPECT_EQ(depth, c.depth);
    EXPECT_EQ(zunto::json::nesting_depth(value), c.depth);
  }
  // Far deeper than a recursive walk could go.
  auto deep = nlohmann::json::array();
  for (int i = 0; i < 100000; ++i) {
    deep = nlohmann::json::array({std::move(deep)});
  }
  EXPECT_EQ(zunto::json::nesting_depth(deep), 100001u);
}

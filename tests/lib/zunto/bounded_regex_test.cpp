#include "zunto/bounded_regex.hpp"

#include "support/watchdog.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using zunto::bounded_regex;

std::string repeated(const std::string& text, std::size_t times) {
  std::string result;
  for (std::size_t i = 0; i < times; ++i) {
    result += text;
  }
  return result;
}

} // namespace

TEST(bounded_regex, searches_anywhere_with_the_ecmascript_grammar) {
  const struct {
    const char* pattern;
    const char* text;
    bool found;
  } cases[] = {
      {"example", "com.example.editor", true},
      {"^example", "com.example.editor", false},
      {"^com\\.", "com.example.editor", true},
      {"editor$", "com.example.editor", true},
      {"example$", "com.example.editor", false},
      {"x|editor$", "com.example.editor", true},
      {"^x|^c", "com.example.editor", true},
      {"", "anything", true},
      {"", "", true},
      {"a*", "", true},
      {"\\bexample", "com.example", true},
      {"\\bxample", "com.example", false},
      {"ex(?=am)", "example", true},
      {"ex(?!am)", "example", false},
      {"[^a-z]", "abc", false},
      {"\\.", "a\nb.", true},
      {"^b", "a\nb", false},
      {"b$", "a\r\nb", true},
      {"a.b", "a\nb", false},

      {"(a|b)+c", "xxababc", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    EXPECT_EQ(bounded_regex(c.pattern).search(c.text), c.found);
  }
  // Every character may come before a match, a NUL and line ends included.
  EXPECT_TRUE(bounded_regex("x$").search(std::string_view("\0\n\r\xffx", 5)));
}

TEST(bounded_regex, refuses_back_references_when_the_pattern_is_read) {
  for (const char* pattern :
       {"(a*)*\\1b", "^(a|a)*\\1$", "(a)\\1", "(a)(?:\\1)", "(x)(x)(x)(x)(x)(x)(x)(x)(x)(x)\\10"}) {
    SCOPED_TRACE(pattern);
    EXPECT_THAT([&] { bounded_regex{pattern}; },
                testing::ThrowsMessage<bounded_regex::back_reference>(
                    testing::StrEq("The regular expression holds a back-reference, which rules do not support.")));
  }
  // However long its number.
  EXPECT_THROW(bounded_regex("(a)\\18446744073709551616"), bounded_regex::back_reference);
  // Errors of the pattern itself come first, as the library reports them.
  EXPECT_THROW(bounded_regex("([a)\\1"), std::regex_error);
  // An escaped NUL is no back-reference.
  EXPECT_TRUE(bounded_regex("a\\0").search(std::string("a\0", 2)));
}

// Texts as long as the bound, against patterns that take a backtracking matcher exponential or
// cubic time: each search ends promptly.
TEST(bounded_regex, pathological_patterns_answer_promptly) {
  const std::string as(bounded_regex::max_subject_size, 'a');
  const std::string as_then_b = as.substr(1) + "b";
  const struct {
    std::string pattern;
    std::string text;
    bool found;
  } cases[] = {
      {"(a*)*b", as, false},
      {"(a|a)*b", as, false},
      {"^(a|aa)*$", as_then_b, false},
      {"^(a|aa)*$", as, true},
      {"(a+)+$", as_then_b, false},
      {"(.*a){20}c", as, false},
      {repeated("(a*)*", 200) + "b", as, false},
      {repeated("(a*)*", 200) + "b", as_then_b, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern.substr(0, 40));
    hbd_test::watchdog watchdog(c.pattern.substr(0, 40));
    EXPECT_EQ(bounded_regex(c.pattern).search(c.text), c.found);
  }
}

// The library reads repeat counts without checking for overflow: counts it could never build are
// refused before it reads them.
TEST(bounded_regex, refuses_repeat_counts_beyond_what_can_be_built) {
  for (const char* pattern : {"a{18446744073709551616}", "a{1,18446744073709551616}", "a{2147483648}",
                              "a{0,1000000000}", "a{1000000}", "(a|b){50000}"}) {
    SCOPED_TRACE(pattern);
    EXPECT_THROW(bounded_regex{pattern}, std::regex_error);
  }
  EXPECT_TRUE(bounded_regex("^a{2,3}$").search("aaa"));
  EXPECT_FALSE(bounded_regex("^a{2,3}$").search("aaaa"));
  // Digits elsewhere are plain text, however many.
  EXPECT_TRUE(bounded_regex("/x,18446744073709551616\\{1\\}").search("/x,18446744073709551616{1}"));
  EXPECT_TRUE(bounded_regex("a\\018446744073709551616")
                  .search(std::string_view("a\0"
                                           "18446744073709551616",
                                           22)));
}

TEST(bounded_regex, bounds_patterns_and_texts) {
  const std::string longest(bounded_regex::max_subject_size, 'a');
  EXPECT_TRUE(bounded_regex("a$").search(longest));
  EXPECT_FALSE(bounded_regex("a$").search(longest + "a"));
  EXPECT_NO_THROW(bounded_regex(std::string(bounded_regex::max_pattern_size, 'x')));
  EXPECT_THAT([] { bounded_regex{std::string(bounded_regex::max_pattern_size + 1, 'x')}; },
              testing::ThrowsMessage<bounded_regex::pattern_too_long>(
                  testing::StrEq("The regular expression is longer than 4096 bytes.")));
}

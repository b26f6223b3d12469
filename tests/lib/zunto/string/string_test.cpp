#include "zunto/string/trim.hpp"
#include "zunto/string/truncate.hpp"

#include <gtest/gtest.h>

#include <string>

TEST(string_trim, removes_ascii_white_space_only) {
  const struct {
    std::string text;
    std::string trimmed;
  } cases[] = {
      {"  a b \t\n", "a b"},
      {"\v\fa\r", "a"},
      {"   ", ""},
      {"", ""},
      {"a", "a"},
      {"\xC2\xA0"
       "a\xC2\xA0",
       "\xC2\xA0"
       "a\xC2\xA0"},              // no-break space
      {"\x85x\xA0", "\x85x\xA0"}, // high bytes are never white space
      {std::string("\0a\0", 3), std::string("\0a\0", 3)},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    zunto::string::trim(text);
    EXPECT_EQ(text, c.trimmed) << c.text;
  }
}

TEST(string_truncate, cuts_on_utf8_boundaries) {
  const struct {
    std::string text;
    std::size_t length;
    std::string placeholder;
    std::string result;
  } cases[] = {
      {"abcdef", 4, "...", "a..."},
      {"abc", 3, "...", "abc"},  // fits: no placeholder
      {"abcd", 3, "...", "abc"}, // placeholder as long as the limit: plain cut
      {"abcd", 3, "....", "abc"},
      {"a\xC3\xA9xxxx", 5, "..", "a\xC3\xA9.."},
      {"a\xC3\xA9xxxx", 4, "..", "a.."}, // cut inside "é": the whole character goes
      {"a\xC3\xA9", 2, "", "a"},
      {"\xE2\x82\xAC", 2, "", ""},
      {"a\xFF"
       "b",
       10, "...",
       "a\xEF\xBF\xBD"
       "b"}, // repaired, well below the limit
      {"a\xFF"
       "bcdef",
       6, "...", "a..."},                      // the replacement counts against the limit
      {"ab\xC3", 10, "...", "ab\xEF\xBF\xBD"}, // a sequence cut short by the end
      {"", 5, "...", ""},
      {"abc", 0, "...", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zunto::string::truncate(c.text, c.length, c.placeholder), c.result) << c.text << " " << c.length;
  }
}

TEST(string_trim_invalid_right_copy, stops_at_the_first_invalid_byte) {
  const struct {
    std::string text;
    std::string result;
  } cases[] = {
      {"ab\xFF"
       "cd",
       "ab"},
      {"abc", "abc"},
      {"a\xC3\xA9", "a\xC3\xA9"},
      {"ab\xC3", "ab"},
      {"\xC3\xA9\xE2\x82", "\xC3\xA9"},
      {"\x80x", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zunto::string::trim_invalid_right_copy(c.text), c.result) << c.text;
  }
}

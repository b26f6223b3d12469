#include "zunto/cf/make_string.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(make_string, converts_strings_with_and_without_a_direct_pointer) {
  struct conversion_case {
    std::string name;
    platform::cf::string_ref string;
    std::optional<std::string> expected;
  };
  const std::vector<conversion_case> cases = {
      {"utf8 ascii", platform::cf::string_create_with_utf8("VendorID"), "VendorID"},
      {"utf8 non-ascii",
       platform::cf::string_create_with_utf8("K\xc3\xa9yb\xc3\xb6\xc3\xa4rd \xe6\x97\xa5 \xf0\x9f\x98\x80"),
       "K\xc3\xa9yb\xc3\xb6\xc3\xa4rd \xe6\x97\xa5 \xf0\x9f\x98\x80"},
      {"utf8 empty", platform::cf::string_create_with_utf8(""), ""},
      {"utf16 ascii", platform::cf::string_create_with_utf16(u"VendorID"), "VendorID"},
      {"utf16 non-ascii", platform::cf::string_create_with_utf16(u"K\u00e9yb\u00f6\u00e4rd \u65e5 \U0001F600"),
       "K\xc3\xa9yb\xc3\xb6\xc3\xa4rd \xe6\x97\xa5 \xf0\x9f\x98\x80"},
      // Surrogate pairs only: the largest expansion per unit of a valid string.
      {"utf16 only pairs", platform::cf::string_create_with_utf16(u"\U0001F600\U0001F601"),
       "\xf0\x9f\x98\x80\xf0\x9f\x98\x81"},
      {"utf16 empty", platform::cf::string_create_with_utf16(u""), ""},
      {"utf16 embedded zero", platform::cf::string_create_with_utf16(std::u16string(u"ab\0cd", 5)), "ab"},
      {"utf16 unpaired surrogate", platform::cf::string_create_with_utf16(std::u16string(1, char16_t(0xd800))),
       std::nullopt},
      {"null", nullptr, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zunto::cf::make_string(c.string), c.expected) << c.name;
    platform::cf::release(c.string);
  }
}

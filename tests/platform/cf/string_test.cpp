#include "platform/cf/string.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using platform::cf::string_encoding;

namespace {

// Releases the creation reference at the end of a test.
struct owned_string {
  platform::cf::string_ref string;
  ~owned_string() { platform::cf::release(string); }
};

} // namespace

TEST(platform_cf_string, utf8_strings_have_a_direct_pointer_and_utf16_strings_do_not) {
  owned_string utf8{platform::cf::string_create_with_utf8("caf\xc3\xa9")};
  owned_string utf16{platform::cf::string_create_with_utf16(u"caf\u00e9")};
  ASSERT_NE(utf8.string, nullptr);
  ASSERT_NE(utf16.string, nullptr);

  const char* pointer = platform::cf::string_get_c_string_ptr(utf8.string, string_encoding::utf8);
  ASSERT_NE(pointer, nullptr);
  EXPECT_STREQ(pointer, "caf\xc3\xa9");
  EXPECT_EQ(platform::cf::string_get_c_string_ptr(utf16.string, string_encoding::utf8), nullptr);
  EXPECT_EQ(platform::cf::string_get_c_string_ptr(nullptr, string_encoding::utf8), nullptr);
}

TEST(platform_cf_string, invalid_utf8_makes_no_string) {
  EXPECT_EQ(platform::cf::string_create_with_utf8("\xff\xfe"), nullptr);
  EXPECT_EQ(platform::cf::string_create_with_utf8("\xc3"), nullptr);
}

TEST(platform_cf_string, length_counts_utf16_units_in_either_form) {
  struct length_case {
    std::string utf8;
    std::u16string utf16;
    std::ptrdiff_t length;
  };
  const std::vector<length_case> cases = {
      {"", u"", 0},
      {"abc", u"abc", 3},
      {"\xc3\xa9\xe6\x97\xa5", u"\u00e9\u65e5", 2},
      {"a\xf0\x9f\x98\x80", u"a\U0001F600", 3}, // one code point, two units
  };
  for (const auto& c : cases) {
    owned_string utf8{platform::cf::string_create_with_utf8(c.utf8)};
    owned_string utf16{platform::cf::string_create_with_utf16(c.utf16)};
    EXPECT_EQ(platform::cf::string_get_length(utf8.string), c.length) << c.utf8;
    EXPECT_EQ(platform::cf::string_get_length(utf16.string), c.length) << c.utf8;
  }
  EXPECT_EQ(platform::cf::string_get_length(nullptr), 0);
}

TEST(platform_cf_string, maximum_size_covers_every_unit_and_refuses_impossible_lengths) {
  EXPECT_EQ(platform::cf::string_get_maximum_size_for_encoding(0, string_encoding::utf8), 0);
  EXPECT_EQ(platform::cf::string_get_maximum_size_for_encoding(4, string_encoding::utf8), 12);
  EXPECT_EQ(platform::cf::string_get_maximum_size_for_encoding(-1, string_encoding::utf8), platform::cf::not_found);
  EXPECT_EQ(platform::cf::string_get_maximum_size_for_encoding(std::numeric_limits<std::ptrdiff_t>::max(),
                                                               string_encoding::utf8),
            platform::cf::not_found);
}

TEST(platform_cf_string, get_c_string_needs_room_for_the_terminating_zero) {
  owned_string string{platform::cf::string_create_with_utf16(u"\u00e9t\u00e9")}; // five UTF-8 bytes
  std::vector<char> buffer(6, 'x');

  EXPECT_FALSE(platform::cf::string_get_c_string(string.string, buffer.data(), 5, string_encoding::utf8));
  ASSERT_TRUE(platform::cf::string_get_c_string(string.string, buffer.data(), 6, string_encoding::utf8));
  EXPECT_STREQ(buffer.data(), "\xc3\xa9t\xc3\xa9");

  EXPECT_FALSE(platform::cf::string_get_c_string(nullptr, buffer.data(), 6, string_encoding::utf8));
  EXPECT_FALSE(platform::cf::string_get_c_string(string.string, nullptr, 6, string_encoding::utf8));
}

TEST(platform_cf_string, unpaired_surrogates_do_not_convert_to_utf8) {
  for (const std::u16string& text :
       {std::u16string(u"a") + char16_t(0xd83d), std::u16string(1, char16_t(0xde00)) + u"b"}) {
    owned_string string{platform::cf::string_create_with_utf16(text)};
    std::vector<char> buffer(64);
    EXPECT_FALSE(platform::cf::string_get_c_string(string.string, buffer.data(), 64, string_encoding::utf8));
  }
}

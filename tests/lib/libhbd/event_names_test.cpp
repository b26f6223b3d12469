#include "libhbd.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

template <typename Function>
std::string text_of(Function&& function, std::int32_t usage_page, std::int32_t usage) {
  char buffer[256] = "untouched";
  function(buffer, sizeof(buffer), usage_page, usage);
  return buffer;
}

} // namespace

// Keyboard and button usages, including names that share a usage (the first listed is written),
// usages without a name and usages the backend does not handle.
TEST(libhbd_event_names, keyboard_and_button_usages) {
  const struct {
    std::int32_t usage_page;
    std::int32_t usage;
    bool target;
    const char* json;
    const char* usage_name;
    const char* simple_modification;
  } cases[] = {
      {7, 4, true, R"({"key_code":"a"})", R"("a")", R"({"from":{"key_code":"a"}})"},
      {7, 57, true, R"({"key_code":"caps_lock"})", R"("caps_lock")", R"({"from":{"key_code":"caps_lock"}})"},
      {7, 226, true, R"({"key_code":"left_option"})", R"("left_option")", R"({"from":{"key_code":"left_option"}})"},
      {7, 231, true, R"({"key_code":"right_command"})", R"("right_command")",
       R"({"from":{"key_code":"right_command"}})"},
      {7, 144, true, R"({"key_code":"japanese_kana"})", R"("japanese_kana")",
       R"({"from":{"key_code":"japanese_kana"}})"},
      {7, 200, true, R"({"key_code":"unsupported"})", R"("unsupported")", R"({"from":{"key_code":"unsupported"}})"},
      {7, 3, false, R"({"usage":3,"usage_page":7})", "3", ""},
      {7, 65535, false, R"({"usage":65535,"usage_page":7})", "65535", ""},
      {9, 1, true, R"({"pointing_button":"button1"})", R"("button1")", ""},
      {9, 32, true, R"({"pointing_button":"button32"})", R"("button32")", R"({"from":{"pointing_button":"button32"}})"},
      {9, 33, true, R"({"pointing_button":"unsupported"})", R"("unsupported")",
       R"({"from":{"pointing_button":"unsupported"}})"},
      {12, 226, true, R"({"consumer_key_code":"mute"})", R"("mute")", R"({"from":{"consumer_key_code":"mute"}})"},
      {0xFF, 3, true, R"({"apple_vendor_top_case_key_code":"keyboard_fn"})", R"("keyboard_fn")",
       R"({"from":{"apple_vendor_top_case_key_code":"keyboard_fn"}})"},
      {-1, -1, false, R"({"usage":-1,"usage_page":-1})", "-1", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.usage_page) + "/" + std::to_string(c.usage));
    EXPECT_EQ(libhbd_is_momentary_switch_event_target(c.usage_page, c.usage), c.target);
    EXPECT_EQ(text_of(libhbd_get_momentary_switch_event_json_string, c.usage_page, c.usage), c.json);
    EXPECT_EQ(text_of(libhbd_get_momentary_switch_event_usage_name, c.usage_page, c.usage), c.usage_name);
    EXPECT_EQ(text_of(libhbd_get_simple_modification_json_string, c.usage_page, c.usage), c.simple_modification);
  }
}

TEST(libhbd_event_names, modifier_flags) {
  const struct {
    std::int32_t usage_page;
    std::int32_t usage;
    const char* name;
  } cases[] = {
      {7, 224, "left_control"},
      {7, 225, "left_shift"},
      {7, 226, "left_option"},
      {7, 227, "left_command"},
      {7, 228, "right_control"},
      {7, 229, "right_shift"},
      {7, 230, "right_option"},
      {7, 231, "right_command"},
      {0xFF, 3, "fn"},
      {0xFF01, 3, "fn"},
      {7, 57, ""},
      {7, 232, ""},
      {12, 224, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[32] = "untouched";
    EXPECT_EQ(libhbd_get_modifier_flag_name(buffer, sizeof(buffer), c.usage_page, c.usage), std::string(c.name).size());
    EXPECT_STREQ(buffer, c.name);
    EXPECT_EQ(libhbd_is_modifier_flag(c.usage_page, c.usage), *c.name != '\0');
  }
}

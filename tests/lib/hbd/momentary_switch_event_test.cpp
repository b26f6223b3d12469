#include "hbd/momentary_switch_event.hpp"

#include "hbd/momentary_switch_event_details/apple_vendor_keyboard_key_code.hpp"
#include "hbd/momentary_switch_event_details/apple_vendor_top_case_key_code.hpp"
#include "hbd/momentary_switch_event_details/consumer_key_code.hpp"
#include "hbd/momentary_switch_event_details/generic_desktop.hpp"
#include "hbd/momentary_switch_event_details/key_code.hpp"
#include "hbd/momentary_switch_event_details/pointing_button.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

namespace details = hbd::momentary_switch_event_details;
using hbd::momentary_switch_event;
using page = zunto::hid::usage_page::value_t;
using usage = zunto::hid::usage::value_t;
using nlohmann::json;

momentary_switch_event read(const json& value) {
  momentary_switch_event event;
  from_json(value, event);
  return event;
}

json write(const momentary_switch_event& event) {
  json value;
  to_json(value, event);
  return value;
}

template <typename Pairs>
std::string_view first_name(const Pairs& pairs, usage value) {
  for (const auto& [name, listed] : pairs) {
    if (listed == value) {
      return name;
    }
  }
  return {};
}

// Every name of every table reads as its usage on the table's page and writes back as the first
// name listed for that usage; the key_code names of other pages go to their own pages.
template <typename Pairs, typename Map>
void check_table(const char* key, page usage_page, const Pairs& pairs, const Map& map) {
  EXPECT_EQ(map.size(), pairs.size()) << key;
  for (const auto& [name, value] : pairs) {
    SCOPED_TRACE(std::string(key) + " " + std::string(name));
    std::optional<zunto::hid::usage_pair> elsewhere;
    if (std::string_view(key) == "key_code") {
      elsewhere = details::key_code::other_usage_page_map.find(name);
    }
    const auto event = read({{key, name}});
    if (elsewhere) {
      EXPECT_EQ(event.get_usage_pair(), *elsewhere);
      continue;
    }
    EXPECT_EQ(event.get_usage_pair(), zunto::hid::usage_pair(usage_page, value));
    const bool writable = std::string_view(key) != "key_code" || static_cast<std::int32_t>(value) >= 4;
    if (writable) {
      EXPECT_EQ(write(event), json({{key, first_name(pairs, value)}}));
    } else {
      EXPECT_EQ(write(event), json("unsupported"));
    }
  }
}

TEST(momentary_switch_event, every_table_name_reads_and_writes_back_by_its_first_name) {
  check_table("key_code", page{7}, details::key_code::name_value_pairs, details::key_code::name_value_map);
  check_table("consumer_key_code", page{12}, details::consumer_key_code::name_value_pairs,
              details::consumer_key_code::name_value_map);
  check_table("apple_vendor_keyboard_key_code", page{0xFF01}, details::apple_vendor_keyboard_key_code::name_value_pairs,
              details::apple_vendor_keyboard_key_code::name_value_map);
  check_table("apple_vendor_top_case_key_code", page{0xFF}, details::apple_vendor_top_case_key_code::name_value_pairs,
              details::apple_vendor_top_case_key_code::name_value_map);
  check_table("pointing_button", page{9}, details::pointing_button::name_value_pairs,
              details::pointing_button::name_value_map);
  check_table("generic_desktop", page{1}, details::generic_desktop::name_value_pairs,
              details::generic_desktop::name_value_map);
}

TEST(momentary_switch_event, key_code_names_of_other_pages_write_back_under_their_own_page) {
  EXPECT_EQ(details::key_code::other_usage_page_map.size(), 29u);
  const auto check = [](std::string_view name, const json& expected) {
    SCOPED_TRACE(std::string(name));
    EXPECT_EQ(write(read({{"key_code", name}})), expected);
  };
  check("fn", {{"apple_vendor_top_case_key_code", "keyboard_fn"}});
  check("mute", {{"consumer_key_code", "mute"}});
  check("fastforward", {{"consumer_key_code", "fast_forward"}});
  check("vk_mission_control", {{"apple_vendor_keyboard_key_code", "mission_control"}});
  check("illumination_decrement", {{"apple_vendor_top_case_key_code", "illumination_down"}});
  check("apple_display_brightness_decrement", {{"apple_vendor_keyboard_key_code", "brightness_down"}});
}

TEST(momentary_switch_event, reads_writes_and_classifies_keys) {
  struct row {
    json input;
    page usage_page;
    usage usage_value;
    json written;
  };
  const row rows[] = {
      {{{"key_code", "a"}}, page{7}, usage{4}, {{"key_code", "a"}}},
      {{{"key_code", 4}}, page{7}, usage{4}, {{"key_code", "a"}}},
      {{{"key_code", 4.9}}, page{7}, usage{4}, {{"key_code", "a"}}},
      {{{"key_code", 200}}, page{7}, usage{200}, {{"key_code", "unsupported"}}},
      {{{"key_code", "mute"}}, page{12}, usage{226}, {{"consumer_key_code", "mute"}}},
      {{{"key_code", "fn"}}, page{0xFF}, usage{3}, {{"apple_vendor_top_case_key_code", "keyboard_fn"}}},
      {{{"key_code", "left_alt"}}, page{7}, usage{226}, {{"key_code", "left_option"}}},
      {{{"key_code", "lang2"}}, page{7}, usage{145}, {{"key_code", "japanese_eisuu"}}},
      {{{"consumer_key_code", "voice_command"}}, page{12}, usage{207}, {{"consumer_key_code", "dictation"}}},
      {{{"key_code", "vk_none"}}, page{7}, usage{0}, "unsupported"},
      {{{"key_code", "a"}, {"pointing_button", "button1"}}, page{9}, usage{1}, {{"pointing_button", "button1"}}},
      {{{"pointing_button", 33}}, page{9}, usage{33}, {{"pointing_button", "unsupported"}}},
      {{{"consumer_key_code", 1}}, page{12}, usage{1}, "unsupported"},
      {{{"generic_desktop", "dpad_left"}}, page{1}, usage{147}, {{"generic_desktop", "dpad_left"}}},
      // Integers keep their low 32 bits; floating-point numbers beyond the range saturate.
      {{{"key_code", 4294967300u}}, page{7}, usage{4}, {{"key_code", "a"}}},
      {{{"key_code", 1e20}}, page{7}, usage{2147483647}, "unsupported"},
      {json::object(), page{0}, usage{0}, "unsupported"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.input.dump());
    const auto event = read(r.input);
    EXPECT_EQ(event.get_usage_pair(), zunto::hid::usage_pair(r.usage_page, r.usage_value));
    EXPECT_EQ(write(event), r.written);
  }

  // Page 7, usage 127 is the keyboard's own mute.
  EXPECT_EQ(write(momentary_switch_event(page{7}, usage{127})), json({{"key_code", "mute"}}));
  // Writing keeps the other members of an object.
  json existing = {{"other", 1}};
  to_json(existing, momentary_switch_event(page{7}, usage{4}));
  EXPECT_EQ(existing, json({{"key_code", "a"}, {"other", 1}}));
}

TEST(momentary_switch_event, reading_errors_have_exact_messages) {
  const std::pair<json, std::string> rows[] = {
      {{{"key_code", true}}, "`key_code` must be string or number, but is `true`"},
      {{{"consumer_key_code", nullptr}}, "`consumer_key_code` must be string or number, but is `null`"},
      {{{"key_code", "nonexistent"}}, "unknown key_code: `\"nonexistent\"`"},
      {{{"pointing_button", "button33"}}, "unknown pointing_button: `\"button33\"`"},
      {{{"keycode", "a"}}, "unknown key: `keycode`"},
      {json::array(), "json must be object, but is `[]`"},
  };
  for (const auto& [input, message] : rows) {
    EXPECT_EQ(hbd_test::unmarshal_error_message([&input = input] { read(input); }), message) << input.dump();
  }
}

TEST(momentary_switch_event, targets) {
  struct row {
    page usage_page;
    usage usage_value;
    bool target;
  };
  const row rows[] = {
      {page{7}, usage{4}, true},       {page{7}, usage{65534}, true}, {page{7}, usage{65535}, false},
      {page{7}, usage{3}, false},      {page{7}, usage{0}, false},    {page{9}, usage{33}, true},
      {page{12}, usage{1}, false},     {page{12}, usage{226}, true},  {page{0xFF01}, usage{16}, true},
      {page{0xFF01}, usage{5}, false}, {page{0xFF}, usage{9}, true},  {page{0xFF}, usage{10}, false},
      {page{1}, usage{144}, true},     {page{1}, usage{1}, false},    {page{2}, usage{4}, false},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(momentary_switch_event::target(r.usage_page, r.usage_value), r.target)
        << static_cast<int>(r.usage_page) << "/" << static_cast<int>(r.usage_value);
  }
}

TEST(momentary_switch_event, modifier_flags_and_their_keys) {
  for (auto flag = hbd::modifier_flag::caps_lock; flag != hbd::modifier_flag::end_;
       flag = static_cast<hbd::modifier_flag>(static_cast<std::uint32_t>(flag) + 1)) {
    const auto key = momentary_switch_event::make_from_modifier_flag(flag);
    ASSERT_TRUE(key.has_value());
    if (flag == hbd::modifier_flag::caps_lock) {
      EXPECT_EQ(key->get_usage_pair(), zunto::hid::usage_pair(page{7}, usage{57}));
      EXPECT_FALSE(key->make_modifier_flag().has_value());
    } else {
      EXPECT_EQ(key->make_modifier_flag(), flag);
    }
  }
  EXPECT_FALSE(momentary_switch_event::make_from_modifier_flag(hbd::modifier_flag::zero).has_value());
  EXPECT_FALSE(momentary_switch_event::make_from_modifier_flag(hbd::modifier_flag::end_).has_value());
  EXPECT_EQ(momentary_switch_event(page{0xFF01}, usage{3}).make_modifier_flag(), hbd::modifier_flag::fn);
  EXPECT_EQ(read({{"key_code", "right_gui"}}).make_modifier_flag(), hbd::modifier_flag::right_command);
  EXPECT_FALSE(momentary_switch_event(page{7}, usage{232}).make_modifier_flag().has_value());
}

} // namespace

#include "hbd/momentary_switch_event.hpp"

#include "hbd/json_reading.hpp"
#include "hbd/momentary_switch_event_details/apple_vendor_keyboard_key_code.hpp"
#include "hbd/momentary_switch_event_details/apple_vendor_top_case_key_code.hpp"
#include "hbd/momentary_switch_event_details/consumer_key_code.hpp"
#include "hbd/momentary_switch_event_details/generic_desktop.hpp"
#include "hbd/momentary_switch_event_details/impl.hpp"
#include "hbd/momentary_switch_event_details/key_code.hpp"
#include "hbd/momentary_switch_event_details/pointing_button.hpp"
#include "zunto/hash_combine.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string_view>

namespace hbd {

namespace {

namespace details = momentary_switch_event_details;
namespace page = zunto::hid::usage_page;
using zunto::hid::usage::value_t;

// The first name listed for the usage.
template <typename Pairs>
std::optional<std::string_view> find_name(const Pairs& pairs, value_t usage) {
  for (const auto& [name, value] : pairs) {
    if (value == usage) {
      return name;
    }
  }
  return std::nullopt;
}

template <typename Pairs>
bool listed(const Pairs& pairs, value_t usage) {
  return find_name(pairs, usage).has_value();
}

constexpr std::int32_t raw(value_t usage) { return static_cast<std::int32_t>(usage); }

} // namespace

std::optional<momentary_switch_event> momentary_switch_event::make_from_modifier_flag(hbd::modifier_flag flag) {
  switch (flag) {
    case modifier_flag::caps_lock:
      return momentary_switch_event(page::keyboard_or_keypad, value_t{57});
    case modifier_flag::left_control:
    case modifier_flag::left_shift:
    case modifier_flag::left_option:
    case modifier_flag::left_command:
    case modifier_flag::right_control:
    case modifier_flag::right_shift:
    case modifier_flag::right_option:
    case modifier_flag::right_command: {
      const auto offset = static_cast<std::int32_t>(flag) - static_cast<std::int32_t>(modifier_flag::left_control);
      return momentary_switch_event(page::keyboard_or_keypad, value_t{224 + offset});
    }
    case modifier_flag::fn:
      return momentary_switch_event(page::apple_vendor_top_case, value_t{3});
    case modifier_flag::zero:
    case modifier_flag::end_:
      break;
  }
  return std::nullopt;
}

bool momentary_switch_event::target(zunto::hid::usage_page::value_t usage_page, zunto::hid::usage::value_t usage) {
  if (usage_page == page::keyboard_or_keypad) {
    return 4 <= raw(usage) && raw(usage) <= 65534;
  }
  if (usage_page == page::consumer) {
    return listed(details::consumer_key_code::name_value_pairs, usage);
  }
  if (usage_page == page::apple_vendor_keyboard) {
    return listed(details::apple_vendor_keyboard_key_code::name_value_pairs, usage);
  }
  if (usage_page == page::apple_vendor_top_case) {
    return listed(details::apple_vendor_top_case_key_code::name_value_pairs, usage);
  }
  if (usage_page == page::button) {
    return true;
  }
  if (usage_page == page::generic_desktop) {
    return listed(details::generic_desktop::name_value_pairs, usage);
  }
  return false;
}

std::optional<modifier_flag> momentary_switch_event::make_modifier_flag() const {
  const auto usage_page = usage_pair_.get_usage_page();
  const auto usage = raw(usage_pair_.get_usage());
  if (usage_page == page::keyboard_or_keypad && 224 <= usage && usage <= 231) {
    return static_cast<hbd::modifier_flag>(static_cast<std::int32_t>(modifier_flag::left_control) + usage - 224);
  }
  if ((usage_page == page::apple_vendor_keyboard || usage_page == page::apple_vendor_top_case) && usage == 3) {
    return modifier_flag::fn;
  }
  return std::nullopt;
}

void from_json(const nlohmann::json& json, momentary_switch_event& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (key == "key_code") {
      if (member.is_string()) {
        if (auto pair = details::key_code::other_usage_page_map.find(member.get_ref<const std::string&>())) {
          value = momentary_switch_event(*pair);
          continue;
        }
      }
      value = momentary_switch_event(
          details::impl::make_usage_pair(details::key_code::name_value_map, page::keyboard_or_keypad, key, member));
    } else if (key == "consumer_key_code") {
      value = momentary_switch_event(
          details::impl::make_usage_pair(details::consumer_key_code::name_value_map, page::consumer, key, member));
    } else if (key == "apple_vendor_keyboard_key_code") {
      value = momentary_switch_event(details::impl::make_usage_pair(
          details::apple_vendor_keyboard_key_code::name_value_map, page::apple_vendor_keyboard, key, member));
    } else if (key == "apple_vendor_top_case_key_code") {
      value = momentary_switch_event(details::impl::make_usage_pair(
          details::apple_vendor_top_case_key_code::name_value_map, page::apple_vendor_top_case, key, member));
    } else if (key == "pointing_button") {
      value = momentary_switch_event(
          details::impl::make_usage_pair(details::pointing_button::name_value_map, page::button, key, member));
    } else if (key == "generic_desktop") {
      value = momentary_switch_event(
          details::impl::make_usage_pair(details::generic_desktop::name_value_map, page::generic_desktop, key, member));
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

void to_json(nlohmann::json& json, const momentary_switch_event& value) {
  const auto usage_page = value.get_usage_pair().get_usage_page();
  const auto usage = value.get_usage_pair().get_usage();
  const auto write = [&](const char* key, std::optional<std::string_view> name) {
    json[key] = name ? std::string(*name) : std::string("unsupported");
  };

  if (usage_page == page::keyboard_or_keypad && 4 <= raw(usage) && raw(usage) <= 65534) {
    write("key_code", find_name(details::key_code::name_value_pairs, usage));
  } else if (usage_page == page::consumer && listed(details::consumer_key_code::name_value_pairs, usage)) {
    write("consumer_key_code", find_name(details::consumer_key_code::name_value_pairs, usage));
  } else if (usage_page == page::apple_vendor_keyboard &&
             listed(details::apple_vendor_keyboard_key_code::name_value_pairs, usage)) {
    write("apple_vendor_keyboard_key_code",
          find_name(details::apple_vendor_keyboard_key_code::name_value_pairs, usage));
  } else if (usage_page == page::apple_vendor_top_case &&
             listed(details::apple_vendor_top_case_key_code::name_value_pairs, usage)) {
    write("apple_vendor_top_case_key_code",
          find_name(details::apple_vendor_top_case_key_code::name_value_pairs, usage));
  } else if (usage_page == page::button) {
    write("pointing_button", find_name(details::pointing_button::name_value_pairs, usage));
  } else if (usage_page == page::generic_desktop && listed(details::generic_desktop::name_value_pairs, usage)) {
    json["generic_desktop"] = details::generic_desktop::make_name(usage);
  } else {
    json = "unsupported";
  }
}

namespace momentary_switch_event_details::generic_desktop {

std::string make_name(usage value) { return std::string(find_name(name_value_pairs, value).value_or("unsupported")); }

} // namespace momentary_switch_event_details::generic_desktop

} // namespace hbd

std::size_t std::hash<hbd::momentary_switch_event>::operator()(
    const hbd::momentary_switch_event& value) const noexcept {
  std::uint64_t combined = 0;
  zunto::hash_combine(combined, static_cast<std::uint64_t>(value.get_usage_pair().get_usage_page()));
  zunto::hash_combine(combined, static_cast<std::uint64_t>(value.get_usage_pair().get_usage()));
  return combined;
}

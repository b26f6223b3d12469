#include "zunto/osx/system_preferences/properties.hpp"

#include "platform/cf/boolean.hpp"
#include "platform/cf/dictionary.hpp"
#include "platform/cf/number.hpp"
#include "platform/preferences/preferences.hpp"
#include "zunto/cf/cf_ptr.hpp"
#include "zunto/cf/make_string.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace zunto::osx::system_preferences {
namespace {

constexpr std::string_view global_domain = "Apple Global Domain";

// Takes over the reference a copy call returned.
cf::cf_ptr<platform::cf::type_ref> adopt(platform::cf::type_ref value) {
  cf::cf_ptr<platform::cf::type_ref> result(value);
  platform::cf::release(value);
  return result;
}

std::optional<bool> find_global_bool(std::string_view key) {
  const auto value = adopt(platform::preferences::copy_app_value(key, global_domain));
  if (auto boolean = dynamic_cast<platform::cf::boolean_ref>(value.get())) {
    return platform::cf::boolean_get_value(boolean);
  }
  return std::nullopt;
}

// A decimal number at the start of the text, as the C library reads one; none when no digit is
// read or it does not fit.
std::optional<std::int64_t> parse_int64(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(begin, &end, 10);
  if (end == begin || errno == ERANGE) {
    return std::nullopt;
  }
  return value;
}

struct parsed_key {
  std::int64_t product_id;
  std::int64_t vendor_id;
  std::int64_t country_code;
};

// "<product id>-<vendor id>-<country code>".
std::optional<parsed_key> parse_keyboard_type_key(const std::string& key) {
  const auto first = key.find('-');
  if (first == std::string::npos) {
    return std::nullopt;
  }
  const auto second = key.find('-', first + 1);
  if (second == std::string::npos) {
    return std::nullopt;
  }
  const auto product_id = parse_int64(key.substr(0, first));
  const auto vendor_id = parse_int64(key.substr(first + 1, second - first - 1));
  const auto country_code = parse_int64(key.substr(second + 1));
  if (!product_id || !vendor_id || !country_code) {
    return std::nullopt;
  }
  return parsed_key{*product_id, *vendor_id, *country_code};
}

std::optional<std::int8_t> to_int8(platform::cf::type_ref value) {
  const auto number = platform::cf::number_get_int64(dynamic_cast<platform::cf::number_ref>(value));
  if (!number || *number < std::numeric_limits<std::int8_t>::min() ||
      *number > std::numeric_limits<std::int8_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int8_t>(*number);
}

template <typename T>
void hash_combine(std::size_t& combined, const T& value) {
  combined ^= std::hash<T>{}(value) + 0x9E3779B9 + (combined << 6) + (combined >> 2);
}

} // namespace

void properties::update() {
  if (auto value = find_global_bool("com.apple.keyboard.fnState")) {
    use_fkeys_as_standard_function_keys_ = *value;
  }
  if (auto value = find_global_bool("com.apple.swipescrolldirection")) {
    scroll_direction_is_natural_ = *value;
  }

  keyboard_types_.clear();
  const auto keyboard_types =
      adopt(platform::preferences::copy_value("keyboardtype", "com.apple.keyboardtype",
                                              platform::preferences::user::any, platform::preferences::host::current));
  auto dictionary = dynamic_cast<platform::cf::dictionary_ref>(keyboard_types.get());
  for (const auto& [key, value] : platform::cf::dictionary_get_keys_and_values(dictionary)) {
    const auto key_text = cf::make_string(dynamic_cast<platform::cf::string_ref>(key));
    if (!key_text) {
      continue;
    }
    const auto parsed = parse_keyboard_type_key(*key_text);
    const auto keyboard_type = to_int8(value);
    if (!parsed || !keyboard_type) {
      continue;
    }
    const keyboard_type_key type_key{
        zunto::hid::vendor_id::value_t{static_cast<std::uint64_t>(parsed->vendor_id)},
        zunto::hid::product_id::value_t{static_cast<std::uint64_t>(parsed->product_id)},
        zunto::hid::country_code::value_t{static_cast<std::uint64_t>(parsed->country_code)}};
    // Sign-extended, as the setting's 8-bit value is widened.
    keyboard_types_[type_key] =
        iokit_keyboard_type::value_t{static_cast<std::uint64_t>(static_cast<std::int64_t>(*keyboard_type))};
  }
}

void to_json(nlohmann::json& json, const properties& value) {
  auto keyboard_types = nlohmann::json::array();
  for (const auto& [key, keyboard_type] : value.get_keyboard_types()) {
    keyboard_types.push_back(nlohmann::json::array({key, keyboard_type}));
  }
  json = nlohmann::json{
      {"use_fkeys_as_standard_function_keys", value.get_use_fkeys_as_standard_function_keys()},
      {"scroll_direction_is_natural", value.get_scroll_direction_is_natural()},
      {"keyboard_types", std::move(keyboard_types)},
  };
}

} // namespace zunto::osx::system_preferences

std::size_t std::hash<zunto::osx::system_preferences::properties>::operator()(
    const zunto::osx::system_preferences::properties& value) const noexcept {
  using zunto::osx::system_preferences::hash_combine;
  std::size_t combined = 0;
  hash_combine(combined, value.get_use_fkeys_as_standard_function_keys());
  hash_combine(combined, value.get_scroll_direction_is_natural());
  for (const auto& [key, keyboard_type] : value.get_keyboard_types()) {
    std::size_t key_hash = 0;
    hash_combine(key_hash, static_cast<std::uint64_t>(key.vendor_id));
    hash_combine(key_hash, static_cast<std::uint64_t>(key.product_id));
    hash_combine(key_hash, static_cast<std::uint64_t>(key.country_code));
    hash_combine(combined, key_hash);
    hash_combine(combined, static_cast<std::uint64_t>(keyboard_type));
  }
  return combined;
}

#include "hbd/software_function_details/set_mouse_cursor_position.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/hash_combine.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/number.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <cctype>
#include <charconv>
#include <string>
#include <string_view>

namespace hbd::software_function_details {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The decimal integer at the start of text, after blanks and a sign, as std::stoi reads it.
std::optional<std::int32_t> leading_integer(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::size_t end = i;
  while (end < text.size() && is_digit(text[end])) {
    ++end;
  }
  if (end == i) {
    return std::nullopt;
  }
  // Read with the sign, so the most negative value is in range.
  std::string digits(negative ? "-" : "");
  digits.append(text.substr(i, end - i));
  std::int32_t result = 0;
  const auto [pointer, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
  if (error != std::errc() || pointer != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return result;
}

// One or more digits followed by a percent sign, and nothing else.
bool percent_form(std::string_view text) {
  if (text.size() < 2 || text.back() != '%') {
    return false;
  }
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (!is_digit(text[i])) {
      return false;
    }
  }
  return true;
}

} // namespace

void from_json(const nlohmann::json& json, set_mouse_cursor_position::position_value& value) {
  using position_type = set_mouse_cursor_position::position_value::position_type;
  if (json.is_number()) {
    value.value = zunto::json::wrapping_number<std::int32_t>(json);
    value.type = position_type::absolute;
    return;
  }
  if (json.is_string()) {
    const auto& text = json.get_ref<const std::string&>();
    const bool percent = percent_form(text);
    const auto number = leading_integer(percent ? std::string_view(text).substr(0, text.size() - 1) : text);
    if (!number) {
      throw zunto::json::unmarshal_error("unsupported format: `" + text + "`");
    }
    value.value = *number;
    value.type = percent ? position_type::percent : position_type::absolute;
    return;
  }
  throw zunto::json::unmarshal_error("json must be number or string, but is `" +
                                     zunto::json::dump_for_error_message(json) + "`");
}

void from_json(const nlohmann::json& json, set_mouse_cursor_position& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (key == "x") {
      from_json(member, value.x);
    } else if (key == "y") {
      from_json(member, value.y);
    } else if (key == "screen") {
      value.screen = json_reading::read_int32_member(key, member);
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

} // namespace hbd::software_function_details

namespace {

std::uint64_t position_hash(const hbd::software_function_details::set_mouse_cursor_position::position_value& value) {
  std::uint64_t combined = 0;
  zunto::hash_combine(combined, std::hash<std::int32_t>{}(value.value));
  zunto::hash_combine(combined, static_cast<std::uint64_t>(value.type));
  return combined;
}

} // namespace

std::size_t std::hash<hbd::software_function_details::set_mouse_cursor_position>::operator()(
    const hbd::software_function_details::set_mouse_cursor_position& value) const noexcept {
  std::uint64_t combined = 0;
  zunto::hash_combine(combined, position_hash(value.x));
  zunto::hash_combine(combined, position_hash(value.y));
  zunto::hash_combine(combined, zunto::optional_hash(value.screen));
  return combined;
}

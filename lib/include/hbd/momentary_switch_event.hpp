#pragma once

#include "hbd/modifier_flag.hpp"
#include "zunto/hid/usage.hpp"
#include "zunto/hid/usage_page.hpp"
#include "zunto/hid/usage_pair.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace hbd {

// One key or button that is pressed and released.
class momentary_switch_event final {
public:
  constexpr momentary_switch_event() = default;
  constexpr momentary_switch_event(zunto::hid::usage_page::value_t usage_page, zunto::hid::usage::value_t usage)
      : usage_pair_(usage_page, usage) {}
  constexpr explicit momentary_switch_event(const zunto::hid::usage_pair& usage_pair) : usage_pair_(usage_pair) {}

  // The key of a modifier flag; none for zero and the end marker.
  static std::optional<momentary_switch_event> make_from_modifier_flag(modifier_flag flag);

  // Whether the system handles the pair at all.
  static bool target(zunto::hid::usage_page::value_t usage_page, zunto::hid::usage::value_t usage);

  constexpr const zunto::hid::usage_pair& get_usage_pair() const { return usage_pair_; }

  // The flag of a modifier key; caps lock is none.
  std::optional<modifier_flag> make_modifier_flag() const;

  constexpr bool operator==(const momentary_switch_event&) const = default;

private:
  zunto::hid::usage_pair usage_pair_;
};

// Reads {"key_code": "a"} and the other five forms; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, momentary_switch_event& value);
// Writes the first name of the key, "unsupported" where there is none.
void to_json(nlohmann::json& json, const momentary_switch_event& value);

} // namespace hbd

template <>
struct std::hash<hbd::momentary_switch_event> {
  std::size_t operator()(const hbd::momentary_switch_event& value) const noexcept;
};

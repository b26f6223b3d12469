#include "hbd/modifier_flag.hpp"

#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <string>

namespace hbd {

namespace {

constexpr std::array<std::string_view, 11> names{
    "zero",          "caps_lock",   "left_control", "left_shift",    "left_option", "left_command",
    "right_control", "right_shift", "right_option", "right_command", "fn",
};

} // namespace

std::optional<std::string_view> make_modifier_flag_name(modifier_flag flag) {
  const auto index = static_cast<std::size_t>(flag);
  if (index < names.size()) {
    return names[index];
  }
  return std::nullopt;
}

void from_json(const nlohmann::json& json, modifier_flag& value) {
  zunto::json::requires_string(json, "json");
  const auto& name = json.get_ref<const std::string&>();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) {
      value = static_cast<modifier_flag>(i);
      return;
    }
  }
  throw zunto::json::unmarshal_error("unknown modifier_flag: `" + name + "`");
}

} // namespace hbd

#pragma once

#include "hbd/software_function_details/cg_event_double_click.hpp"
#include "hbd/software_function_details/iokit_power_management_sleep_system.hpp"
#include "hbd/software_function_details/set_mouse_cursor_position.hpp"

#include <nlohmann/json_fwd.hpp>

#include <variant>

namespace hbd {

// A function the backend performs in software; empty by default.
class software_function final {
public:
  using value_t = std::variant<software_function_details::cg_event_double_click,
                               software_function_details::iokit_power_management_sleep_system,
                               software_function_details::set_mouse_cursor_position, std::monostate>;

  const value_t& get_value() const { return value_; }
  void set_value(value_t value) { value_ = std::move(value); }

  bool operator==(const software_function&) const = default;

private:
  value_t value_{std::monostate{}};
};

// The alternative of the last recognised key; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, software_function& value);

} // namespace hbd

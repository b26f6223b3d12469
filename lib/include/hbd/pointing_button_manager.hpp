#pragma once

#include "zunto/hid/usage_pair.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <cstdint>
#include <vector>

namespace hbd {

// Which pointing buttons are held.
class pointing_button_manager final {
public:
  class active_pointing_button final {
  public:
    enum class type : std::uint32_t {
      increase,
      decrease,
    };

    active_pointing_button(type record_type, const zunto::hid::usage_pair& usage_pair,
                           zunto::osx::iokit_registry_entry_id::value_t device_id)
        : type_(record_type), usage_pair_(usage_pair), device_id_(device_id) {}

    type get_type() const { return type_; }
    const zunto::hid::usage_pair& get_usage_pair() const { return usage_pair_; }
    zunto::osx::iokit_registry_entry_id::value_t get_device_id() const { return device_id_; }

    bool operator==(const active_pointing_button&) const = default;

  private:
    type type_;
    zunto::hid::usage_pair usage_pair_;
    zunto::osx::iokit_registry_entry_id::value_t device_id_;
  };

  // A decrease releases the button on every device.
  void push_back_active_pointing_button(const active_pointing_button& record);

  const std::vector<active_pointing_button>& get_active_pointing_buttons() const { return active_pointing_buttons_; }

private:
  std::vector<active_pointing_button> active_pointing_buttons_;
};

} // namespace hbd

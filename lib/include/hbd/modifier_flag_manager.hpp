#pragma once

#include "hbd/modifier_flag.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <cstdint>
#include <vector>

namespace hbd {

// Which modifiers are held, locked or sticky: records that cancel in pairs as keys go up.
class modifier_flag_manager final {
public:
  class active_modifier_flag final {
  public:
    enum class type : std::uint32_t {
      increase,
      decrease,
      increase_lock,
      decrease_lock,
      increase_led_lock,
      decrease_led_lock,
      increase_sticky,
      decrease_sticky,
    };

    active_modifier_flag(type record_type, modifier_flag flag, zunto::osx::iokit_registry_entry_id::value_t device_id)
        : type_(record_type), modifier_flag_(flag), device_id_(device_id) {}

    type get_type() const { return type_; }
    modifier_flag get_modifier_flag() const { return modifier_flag_; }
    zunto::osx::iokit_registry_entry_id::value_t get_device_id() const { return device_id_; }

    // The other record has the partner type, the same flag and the same device.
    bool is_paired(const active_modifier_flag& other) const;

    bool operator==(const active_modifier_flag&) const = default;

  private:
    type type_;
    modifier_flag modifier_flag_;
    zunto::osx::iokit_registry_entry_id::value_t device_id_;
  };

  void push_back_active_modifier_flag(const active_modifier_flag& record);
  void erase_all_sticky_modifier_flags();
  void erase_pairs();
  bool is_pressed(modifier_flag flag) const;

  const std::vector<active_modifier_flag>& get_active_modifier_flags() const { return active_modifier_flags_; }

private:
  std::vector<active_modifier_flag> active_modifier_flags_;
};

} // namespace hbd

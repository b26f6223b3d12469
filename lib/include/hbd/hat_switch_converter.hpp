#pragma once

#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace hbd {

// Keeps the direction each device's hat switch points to. One converter serves the process.
class hat_switch_converter final {
public:
  enum class direction : std::uint8_t {
    centered,
    up,
    up_right,
    right,
    down_right,
    down,
    down_left,
    left,
    up_left,
  };

  // The process-wide converter, made on the first call; safe to call from any thread.
  static std::shared_ptr<hat_switch_converter> get_global_hat_switch_converter();

  // Forgets the device's direction, if one is kept.
  void erase_device(zunto::osx::iokit_registry_entry_id::value_t device_id);

private:
  static std::shared_ptr<hat_switch_converter> hat_switch_converter_;
  static std::mutex hat_switch_converter_mutex_;

  // Guards directions_: the converter is shared by the whole process.
  std::mutex mutex_;
  std::unordered_map<zunto::osx::iokit_registry_entry_id::value_t, direction> directions_;
};

} // namespace hbd

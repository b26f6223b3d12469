#include "hbd/hat_switch_converter.hpp"

namespace hbd {

std::shared_ptr<hat_switch_converter> hat_switch_converter::hat_switch_converter_;
std::mutex hat_switch_converter::hat_switch_converter_mutex_;

std::shared_ptr<hat_switch_converter> hat_switch_converter::get_global_hat_switch_converter() {
  // Two first calls from different threads must not both make a converter.
  std::lock_guard lock(hat_switch_converter_mutex_);
  if (!hat_switch_converter_) {
    hat_switch_converter_ = std::make_shared<hat_switch_converter>();
  }
  return hat_switch_converter_;
}

void hat_switch_converter::erase_device(zunto::osx::iokit_registry_entry_id::value_t device_id) {
  std::lock_guard lock(mutex_);
  directions_.erase(device_id);
}

} // namespace hbd

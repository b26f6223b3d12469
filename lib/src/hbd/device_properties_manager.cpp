#include "hbd/device_properties_manager.hpp"

namespace hbd {

void device_properties_manager::insert(zunto::osx::iokit_registry_entry_id::value_t device_id,
                                       const device_properties& properties) {
  insert(device_id, std::make_shared<device_properties>(properties));
}

void device_properties_manager::insert(zunto::osx::iokit_registry_entry_id::value_t device_id,
                                       std::shared_ptr<device_properties> properties) {
  device_properties_[device_id] = std::move(properties);
}

void device_properties_manager::erase(zunto::osx::iokit_registry_entry_id::value_t device_id) {
  device_properties_.erase(device_id);
}

std::shared_ptr<device_properties> device_properties_manager::find(
    zunto::osx::iokit_registry_entry_id::value_t device_id) const {
  auto it = device_properties_.find(device_id);
  return it == device_properties_.end() ? nullptr : it->second;
}

} // namespace hbd

#pragma once

#include "hbd/device_properties.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <memory>
#include <unordered_map>

namespace hbd {

// The properties of the attached devices, at most one entry per registry entry id.
class device_properties_manager final {
public:
  using map_t = std::unordered_map<zunto::osx::iokit_registry_entry_id::value_t, std::shared_ptr<device_properties>>;

  // Keeps a copy of its own.
  void insert(zunto::osx::iokit_registry_entry_id::value_t device_id, const device_properties& properties);
  // Replaces an entry already kept for the id.
  void insert(zunto::osx::iokit_registry_entry_id::value_t device_id, std::shared_ptr<device_properties> properties);
  void erase(zunto::osx::iokit_registry_entry_id::value_t device_id);

  // Null when nothing is kept for the id (or null was kept).
  std::shared_ptr<device_properties> find(zunto::osx::iokit_registry_entry_id::value_t device_id) const;
  const map_t& get_device_properties() const { return device_properties_; }

private:
  map_t device_properties_;
};

} // namespace hbd

#include "zunto/osx/iokit_hid_device.hpp"

#include "zunto/cf/make_cf_string.hpp"
#include "zunto/osx/iokit_iterator.hpp"

namespace zunto::osx {
namespace {

void append_parent_registry_entries(const iokit_registry_entry& entry, platform::cf::string_ref location_id_key,
                                    std::vector<iokit_registry_entry>& result) {
  const auto location_id = entry.find_int64_property(location_id_key);
  if (!location_id) {
    return;
  }
  const iokit_iterator parents = entry.get_parent_iterator();
  while (iokit_registry_entry parent = parents.next()) {
    if (parent.find_int64_property(location_id_key) == location_id) {
      result.push_back(parent);
    }
    append_parent_registry_entries(parent, location_id_key, result);
  }
}

} // namespace

iokit_hid_device::iokit_hid_device(platform::iokit::hid_device_ref device)
    : device_(device), registry_entry_(platform::iokit::hid_device_get_service(device)) {}

std::optional<std::int64_t> iokit_hid_device::find_int64_property(platform::cf::string_ref key,
                                                                  bool include_parents) const {
  return find_property<std::int64_t>(key, include_parents, &iokit_registry_entry::find_int64_property);
}

std::optional<std::string> iokit_hid_device::find_string_property(platform::cf::string_ref key,
                                                                  bool include_parents) const {
  return find_property<std::string>(key, include_parents, &iokit_registry_entry::find_string_property);
}

template <typename T>
std::optional<T> iokit_hid_device::find_property(
    platform::cf::string_ref key, bool include_parents,
    std::optional<T> (iokit_registry_entry::*find)(platform::cf::string_ref) const) const {
  if (auto value = (registry_entry_.*find)(key)) {
    return value;
  }
  if (include_parents) {
    for (const auto& parent : get_parent_registry_entries(registry_entry_)) {
      if (auto value = (parent.*find)(key)) {
        return value;
      }
    }
  }
  return std::nullopt;
}

bool iokit_hid_device::conforms_to(zunto::hid::usage_page::value_t usage_page, zunto::hid::usage::value_t usage) const {
  return platform::iokit::hid_device_conforms_to(device_.get(), static_cast<std::uint32_t>(usage_page),
                                                 static_cast<std::uint32_t>(usage));
}

zunto::cf::cf_ptr<platform::iokit::hid_queue_ref> iokit_hid_device::make_queue(std::size_t depth) const {
  zunto::cf::cf_ptr<platform::iokit::hid_queue_ref> result;
  if (auto queue = platform::iokit::hid_queue_create(device_.get(), depth)) {
    result.reset(queue);
    platform::cf::release(queue);
  }
  return result;
}

std::vector<iokit_hid_element> iokit_hid_device::make_elements() const {
  std::vector<iokit_hid_element> result;
  for (auto element : platform::iokit::hid_device_copy_matching_elements(device_.get())) {
    if (element != nullptr) {
      result.emplace_back(element);
      platform::cf::release(element);
    }
  }
  return result;
}

std::vector<iokit_registry_entry> iokit_hid_device::get_parent_registry_entries(const iokit_registry_entry& entry) {
  std::vector<iokit_registry_entry> result;
  const auto location_id_key = zunto::cf::make_cf_string("LocationID");
  append_parent_registry_entries(entry, location_id_key.get(), result);
  return result;
}

} // namespace zunto::osx

#pragma once

#include "platform/cf/string.hpp"
#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/hid_queue.hpp"
#include "zunto/cf/cf_ptr.hpp"
#include "zunto/hid/usage.hpp"
#include "zunto/hid/usage_page.hpp"
#include "zunto/osx/iokit_hid_element.hpp"
#include "zunto/osx/iokit_registry_entry.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zunto::osx {

// A HID device with its service as registry entry, both retained while held. Made from a null
// device it is empty and every lookup gives no value or false.
class iokit_hid_device {
public:
  // Retains the device; the caller keeps its own reference.
  explicit iokit_hid_device(platform::iokit::hid_device_ref device);
  virtual ~iokit_hid_device() = default;

  iokit_hid_device(const iokit_hid_device&) = default;
  iokit_hid_device(iokit_hid_device&&) = default;
  iokit_hid_device& operator=(const iokit_hid_device&) = default;
  iokit_hid_device& operator=(iokit_hid_device&&) = default;

  platform::iokit::hid_device_ref get_device() const { return device_.get(); }
  const iokit_registry_entry& get_registry_entry() const { return registry_entry_; }

  // The property of the device's own entry; when it is missing there and include_parents is set,
  // the first of get_parent_registry_entries that has it.
  std::optional<std::int64_t> find_int64_property(platform::cf::string_ref key, bool include_parents) const;
  std::optional<std::string> find_string_property(platform::cf::string_ref key, bool include_parents) const;

  bool conforms_to(zunto::hid::usage_page::value_t usage_page, zunto::hid::usage::value_t usage) const;

  // A new value queue of that depth over the device; empty for an empty device or a failed create.
  zunto::cf::cf_ptr<platform::iokit::hid_queue_ref> make_queue(std::size_t depth) const;
  // The device's elements in the order it gives them; empty for an empty device.
  std::vector<iokit_hid_element> make_elements() const;

  // The ancestors that belong to the same physical device: each parent whose "LocationID" equals
  // the entry's, depth first, every parent's own such ancestors after it. Empty for an entry
  // without "LocationID".
  static std::vector<iokit_registry_entry> get_parent_registry_entries(const iokit_registry_entry& entry);

private:
  template <typename T>
  std::optional<T> find_property(platform::cf::string_ref key, bool include_parents,
                                 std::optional<T> (iokit_registry_entry::*find)(platform::cf::string_ref) const) const;

  zunto::cf::cf_ptr<platform::iokit::hid_device_ref> device_;
  iokit_registry_entry registry_entry_;
};

} // namespace zunto::osx

#pragma once

#include "platform/cf/string.hpp"
#include "platform/iokit/registry.hpp"
#include "zunto/cf/cf_ptr.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace zunto::osx {

class iokit_iterator;

// One registry entry, retained while held; may be empty. Lookups never fail: an empty entry, a
// missing property or one of another type gives no value.
class iokit_registry_entry final {
public:
  iokit_registry_entry() = default;
  // Retains the entry; the caller keeps its own reference.
  explicit iokit_registry_entry(platform::iokit::registry_entry_ref entry);

  platform::iokit::registry_entry_ref get() const { return entry_.get(); }
  explicit operator bool() const { return static_cast<bool>(entry_); }

  // A number property, as a signed 64-bit value.
  std::optional<std::int64_t> find_int64_property(platform::cf::string_ref key) const;
  // A string property, as UTF-8 text.
  std::optional<std::string> find_string_property(platform::cf::string_ref key) const;

  // Empty for an empty entry.
  iokit_iterator get_parent_iterator() const;
  std::optional<iokit_registry_entry_id::value_t> find_registry_entry_id() const;

private:
  zunto::cf::cf_ptr<platform::iokit::registry_entry_ref> entry_;
};

} // namespace zunto::osx

#pragma once

#include "platform/iokit/registry.hpp"

#include <string_view>
#include <vector>

namespace hbd_test {

// A simulated registry entry that one test owns: it leaves the registry and is released when the
// owner goes, so no entry outlives the test that made it.
class registry_entry_owner final {
public:
  explicit registry_entry_owner(std::string_view class_name);
  ~registry_entry_owner();

  registry_entry_owner(const registry_entry_owner&) = delete;
  registry_entry_owner& operator=(const registry_entry_owner&) = delete;

  platform::iokit::registry_entry_ref get() const { return entry_; }

private:
  platform::iokit::registry_entry_ref entry_;
};

// Drains and releases the iterator. The entries are released too, so they stay valid only while
// something else, such as their owners, holds them.
std::vector<platform::iokit::registry_entry_ref> drain(platform::iokit::iterator_ref iterator);

} // namespace hbd_test

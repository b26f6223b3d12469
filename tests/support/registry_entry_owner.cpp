#include "support/registry_entry_owner.hpp"

namespace hbd_test {

registry_entry_owner::registry_entry_owner(std::string_view class_name)
    : entry_(platform::iokit::registry_entry_create(class_name)) {}

registry_entry_owner::~registry_entry_owner() {
  platform::iokit::registry_entry_terminate(entry_);
  platform::cf::release(entry_);
}

std::vector<platform::iokit::registry_entry_ref> drain(platform::iokit::iterator_ref iterator) {
  std::vector<platform::iokit::registry_entry_ref> entries;
  while (platform::iokit::registry_entry_ref entry = platform::iokit::iterator_next(iterator)) {
    entries.push_back(entry);
    platform::cf::release(entry);
  }
  platform::cf::release(iterator);
  return entries;
}

} // namespace hbd_test

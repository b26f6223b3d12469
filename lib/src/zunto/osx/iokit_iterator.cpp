#include "zunto/osx/iokit_iterator.hpp"

namespace zunto::osx {

iokit_iterator::iokit_iterator(platform::iokit::iterator_ref iterator) : iterator_(iterator) {}

iokit_registry_entry iokit_iterator::next() const {
  platform::iokit::registry_entry_ref entry = platform::iokit::iterator_next(iterator_.get());
  iokit_registry_entry result(entry);
  platform::cf::release(entry);
  return result;
}

} // namespace zunto::osx

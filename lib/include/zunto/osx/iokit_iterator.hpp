#pragma once

#include "platform/iokit/registry.hpp"
#include "zunto/cf/cf_ptr.hpp"
#include "zunto/osx/iokit_registry_entry.hpp"

namespace zunto::osx {

// An iterator over registry entries, retained while held; may be empty.
class iokit_iterator final {
public:
  iokit_iterator() = default;
  // Retains the iterator; the caller keeps its own reference.
  explicit iokit_iterator(platform::iokit::iterator_ref iterator);

  platform::iokit::iterator_ref get() const { return iterator_.get(); }
  explicit operator bool() const { return static_cast<bool>(iterator_); }

  // The next entry; an empty one at the end and for an empty iterator.
  iokit_registry_entry next() const;

private:
  zunto::cf::cf_ptr<platform::iokit::iterator_ref> iterator_;
};

} // namespace zunto::osx

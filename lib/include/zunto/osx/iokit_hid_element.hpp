#pragma once

#include "platform/iokit/hid_element.hpp"
#include "zunto/cf/cf_ptr.hpp"

namespace zunto::osx {

// One input element of a HID device, retained while held.
class iokit_hid_element {
public:
  // Retains the element; the caller keeps its own reference.
  explicit iokit_hid_element(platform::iokit::hid_element_ref element) : element_(element) {}
  virtual ~iokit_hid_element() = default;

  iokit_hid_element(const iokit_hid_element&) = default;
  iokit_hid_element(iokit_hid_element&&) = default;
  iokit_hid_element& operator=(const iokit_hid_element&) = default;
  iokit_hid_element& operator=(iokit_hid_element&&) = default;

  platform::iokit::hid_element_ref get() const { return element_.get(); }

private:
  zunto::cf::cf_ptr<platform::iokit::hid_element_ref> element_;
};

} // namespace zunto::osx

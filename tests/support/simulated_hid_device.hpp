#pragma once

#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/hid_element.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hbd_test {

// A simulated HID device that one test owns: a HID service with its usage pairs and elements. It
// appears in the registry when made (last step, so notifications see it whole) and leaves it when
// removed or destroyed.
class simulated_hid_device final {
public:
  struct element {
    std::uint32_t usage_page;
    std::uint32_t usage;
    std::int64_t logical_min;
    std::int64_t logical_max;
  };

  // The next opens of the device fail with open_failures, in order.
  simulated_hid_device(std::vector<platform::iokit::hid_usage_pair> usage_pairs, const std::vector<element>& elements,
                       std::vector<platform::iokit::io_return> open_failures = {});
  ~simulated_hid_device();

  simulated_hid_device(const simulated_hid_device&) = delete;
  simulated_hid_device& operator=(const simulated_hid_device&) = delete;

  platform::iokit::registry_entry_ref entry() const { return entry_; }
  std::uint64_t id() const;
  int open_count() const;

  // Reports a value of the element at index; a value without an element for index past the end.
  void report(std::size_t index, std::int64_t value) const;
  // Terminates the service; the destructor does nothing more than release it.
  void remove() const;

private:
  platform::iokit::registry_entry_ref entry_;
  std::vector<platform::iokit::hid_element_ref> elements_;
};

// A keyboard with a key (usage page 7, usage 4, range 0 to 1).
std::vector<simulated_hid_device::element> keyboard_elements();

} // namespace hbd_test

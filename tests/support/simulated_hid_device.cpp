#include "support/simulated_hid_device.hpp"

#include "platform/iokit/hid_value.hpp"

namespace hbd_test {

simulated_hid_device::simulated_hid_device(std::vector<platform::iokit::hid_usage_pair> usage_pairs,
                                           const std::vector<element>& elements,
                                           std::vector<platform::iokit::io_return> open_failures)
    : entry_(platform::iokit::registry_entry_create("IOHIDUserDevice")) {
  platform::iokit::registry_entry_fail_hid_opens(entry_, std::move(open_failures));
  for (const auto& e : elements) {
    auto created = platform::iokit::hid_element_create(e.usage_page, e.usage, e.logical_min, e.logical_max);
    platform::iokit::registry_entry_add_hid_element(entry_, created);
    elements_.push_back(created);
  }
  platform::iokit::registry_entry_set_hid_usage_pairs(entry_, std::move(usage_pairs));
}

simulated_hid_device::~simulated_hid_device() {
  remove();
  for (auto e : elements_) {
    platform::cf::release(e);
  }
  platform::cf::release(entry_);
}

std::uint64_t simulated_hid_device::id() const {
  return platform::iokit::registry_entry_get_registry_entry_id(entry_).value_or(0);
}

int simulated_hid_device::open_count() const { return platform::iokit::registry_entry_get_hid_open_count(entry_); }

void simulated_hid_device::report(std::size_t index, std::int64_t value) const {
  auto v =
      platform::iokit::hid_value_create(index < elements_.size() ? elements_[index] : nullptr, 1000 + index, value);
  platform::iokit::registry_entry_report_hid_value(entry_, v);
  platform::cf::release(v);
}

void simulated_hid_device::remove() const { platform::iokit::registry_entry_terminate(entry_); }

std::vector<simulated_hid_device::element> keyboard_elements() { return {{7, 4, 0, 1}}; }

} // namespace hbd_test

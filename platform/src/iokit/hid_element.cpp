#include "platform/iokit/hid_element.hpp"

#include "registry_state.hpp"

namespace platform::iokit {
namespace {

class hid_element_impl final : public hid_element {
public:
  hid_element_impl(std::uint32_t page, std::uint32_t usage_in_page, std::int64_t min, std::int64_t max)
      : usage_page(page), usage(usage_in_page), logical_min(min), logical_max(max) {}

  const std::uint32_t usage_page;
  const std::uint32_t usage;
  const std::int64_t logical_min;
  const std::int64_t logical_max;
};

const hid_element_impl* as_element(hid_element_ref element) { return static_cast<const hid_element_impl*>(element); }

} // namespace

hid_element_ref hid_element_create(std::uint32_t usage_page, std::uint32_t usage, std::int64_t logical_min,
                                   std::int64_t logical_max) {
  return new hid_element_impl(usage_page, usage, logical_min, logical_max);
}

std::uint32_t hid_element_get_usage_page(hid_element_ref element) {
  return element == nullptr ? 0 : as_element(element)->usage_page;
}

std::uint32_t hid_element_get_usage(hid_element_ref element) {
  return element == nullptr ? 0 : as_element(element)->usage;
}

std::int64_t hid_element_get_logical_min(hid_element_ref element) {
  return element == nullptr ? 0 : as_element(element)->logical_min;
}

std::int64_t hid_element_get_logical_max(hid_element_ref element) {
  return element == nullptr ? 0 : as_element(element)->logical_max;
}

void registry_entry_add_hid_element(registry_entry_ref entry, hid_element_ref element) {
  if (entry == nullptr || element == nullptr) {
    return;
  }
  platform::cf::retain(element);
  std::lock_guard lock(detail::registry_mutex());
  detail::as_entry(entry)->hid_elements.push_back(element);
}

} // namespace platform::iokit

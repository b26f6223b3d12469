#include "platform/iokit/hid_device.hpp"

#include "registry_state.hpp"

#include <algorithm>
#include <utility>

namespace platform::iokit {
namespace {

class hid_device_impl final : public hid_device {
public:
  // Takes over one reference to the service.
  explicit hid_device_impl(const detail::entry_impl* service) : service_(service) {}
  ~hid_device_impl() override { platform::cf::release(service_); }

  const detail::entry_impl* service() const { return service_; }

private:
  const detail::entry_impl* service_;
};

const hid_device_impl* as_device(hid_device_ref device) { return static_cast<const hid_device_impl*>(device); }

} // namespace

void registry_entry_set_hid_usage_pairs(registry_entry_ref entry, std::vector<hid_usage_pair> usage_pairs) {
  if (entry == nullptr) {
    return;
  }
  std::lock_guard lock(detail::registry_mutex());
  detail::as_entry(entry)->hid_usage_pairs = std::move(usage_pairs);
}

hid_device_ref hid_device_create(registry_entry_ref service) {
  if (service == nullptr) {
    return nullptr;
  }
  const detail::entry_impl* entry = detail::as_entry(service);
  {
    std::lock_guard lock(detail::registry_mutex());
    if (!entry->hid_usage_pairs) {
      return nullptr;
    }
  }
  platform::cf::retain(entry);
  return new hid_device_impl(entry);
}

registry_entry_ref hid_device_get_service(hid_device_ref device) {
  return device == nullptr ? nullptr : as_device(device)->service();
}

bool hid_device_conforms_to(hid_device_ref device, std::uint32_t usage_page, std::uint32_t usage) {
  if (device == nullptr) {
    return false;
  }
  std::lock_guard lock(detail::registry_mutex());
  const auto& usage_pairs = as_device(device)->service()->hid_usage_pairs;
  return usage_pairs && std::ranges::find(*usage_pairs, hid_usage_pair{usage_page, usage}) != usage_pairs->end();
}

} // namespace platform::iokit

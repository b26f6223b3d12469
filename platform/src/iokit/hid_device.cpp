#include "platform/iokit/hid_device.hpp"

#include "hid_state.hpp"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

namespace platform::iokit {
namespace detail {

std::mutex& hid_mutex() {
  static std::mutex mutex;
  return mutex;
}

namespace {

// Keyed by entry id, which is never reused, so a forgotten entry cannot pass its state on.
std::unordered_map<std::uint64_t, hid_service_state>& hid_states() {
  // Never destroyed: device monitors left running use their devices while the process exits.
  static auto& states = *new std::unordered_map<std::uint64_t, hid_service_state>();
  return states;
}

} // namespace

hid_service_state& hid_state_of(const entry_impl* service) { return hid_states()[service->id]; }

void drop_hid_state_if_unused(const entry_impl* service) {
  auto it = hid_states().find(service->id);
  if (it != hid_states().end() && it->second.scheduled_devices.empty() && it->second.started_queues.empty() &&
      it->second.open_count == 0) {
    hid_states().erase(it);
  }
}

hid_device_impl::~hid_device_impl() {
  if (open) {
    // Released while open: the service is free for other openers again.
    std::lock_guard lock(hid_mutex());
    auto& state = hid_state_of(service);
    --state.open_count;
    if (seized) {
      state.seized = false;
    }
    drop_hid_state_if_unused(service);
  }
  platform::cf::release(service);
}

void notify_hid_devices_removed(const entry_impl* entry) {
  std::vector<std::pair<const hid_device_impl*, platform::cf::run_loop_ref>> removed; // both retained
  {
    std::lock_guard lock(hid_mutex());
    for (const hid_device_impl* device : hid_state_of(entry).scheduled_devices) {
      if (device->removal_callback != nullptr) {
        platform::cf::retain(device);
        platform::cf::retain(device->loop);
        removed.emplace_back(device, device->loop);
      }
    }
    drop_hid_state_if_unused(entry);
  }
  for (auto [device, loop] : removed) {
    std::shared_ptr<const hid_device_impl> held(device, [](const hid_device_impl* d) { platform::cf::release(d); });
    platform::cf::run_loop_perform_block(loop, [held] {
      hid_callback callback = nullptr;
      void* context = nullptr;
      {
        std::lock_guard lock(hid_mutex());
        // Unscheduled meanwhile: the owner no longer listens.
        if (held->loop != nullptr) {
          callback = held->removal_callback;
          context = held->removal_context;
        }
      }
      if (callback != nullptr) {
        callback(context, return_success, const_cast<hid_device_impl*>(held.get()));
      }
    });
    platform::cf::run_loop_wake_up(loop);
    platform::cf::release(loop);
  }
}

} // namespace detail

namespace {

using detail::hid_device_impl;

hid_device_impl* as_device(hid_device_ref device) {
  return const_cast<hid_device_impl*>(static_cast<const hid_device_impl*>(device));
}

} // namespace

void registry_entry_set_hid_usage_pairs(registry_entry_ref entry, std::vector<hid_usage_pair> usage_pairs) {
  if (entry == nullptr) {
    return;
  }
  {
    std::lock_guard lock(detail::registry_mutex());
    detail::as_entry(entry)->hid_usage_pairs = std::move(usage_pairs);
  }
  detail::notify_service_published(detail::as_entry(entry));
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
  return device == nullptr ? nullptr : as_device(device)->service;
}

bool hid_device_conforms_to(hid_device_ref device, std::uint32_t usage_page, std::uint32_t usage) {
  if (device == nullptr) {
    return false;
  }
  std::lock_guard lock(detail::registry_mutex());
  const auto& usage_pairs = as_device(device)->service->hid_usage_pairs;
  return usage_pairs && std::ranges::find(*usage_pairs, hid_usage_pair{usage_page, usage}) != usage_pairs->end();
}

std::vector<hid_element_ref> hid_device_copy_matching_elements(hid_device_ref device) {
  std::vector<hid_element_ref> result;
  if (device == nullptr) {
    return result;
  }
  std::lock_guard lock(detail::registry_mutex());
  result = as_device(device)->service->hid_elements;
  for (hid_element_ref element : result) {
    platform::cf::retain(element);
  }
  return result;
}

io_return hid_device_open(hid_device_ref device, std::uint32_t options) {
  if (device == nullptr) {
    return return_bad_argument;
  }
  hid_device_impl* impl = as_device(device);
  std::lock_guard lock(detail::registry_mutex());
  auto* service = detail::as_entry(impl->service);
  if (!service->hid_open_results.empty()) {
    const io_return code = service->hid_open_results.front();
    service->hid_open_results.pop_front();
    if (code != return_success) {
      return code;
    }
  }
  if (!service->registered) {
    return return_no_device;
  }
  std::lock_guard hid_lock(detail::hid_mutex());
  if (impl->open) {
    return return_success;
  }
  auto& state = detail::hid_state_of(service);
  const bool seize = (options & hid_open_seize) != 0;
  if (state.seized || (seize && state.open_count > 0)) {
    detail::drop_hid_state_if_unused(service);
    return return_exclusive_access;
  }
  impl->open = true;
  impl->seized = seize;
  ++state.open_count;
  state.seized = state.seized || seize;
  return return_success;
}

io_return hid_device_close(hid_device_ref device, std::uint32_t) {
  if (device == nullptr) {
    return return_bad_argument;
  }
  hid_device_impl* impl = as_device(device);
  std::lock_guard lock(detail::hid_mutex());
  if (!impl->open) {
    return return_not_open;
  }
  auto& state = detail::hid_state_of(impl->service);
  impl->open = false;
  --state.open_count;
  if (impl->seized) {
    impl->seized = false;
    state.seized = false;
  }
  detail::drop_hid_state_if_unused(impl->service);
  return return_success;
}

void hid_device_register_removal_callback(hid_device_ref device, hid_callback callback, void* context) {
  if (device == nullptr) {
    return;
  }
  std::lock_guard lock(detail::hid_mutex());
  as_device(device)->removal_callback = callback;
  as_device(device)->removal_context = context;
}

void hid_device_schedule_with_run_loop(hid_device_ref device, platform::cf::run_loop_ref loop) {
  if (device == nullptr || loop == nullptr) {
    return;
  }
  hid_device_impl* impl = as_device(device);
  platform::cf::retain(loop);
  platform::cf::run_loop_ref old = nullptr;
  {
    std::lock_guard lock(detail::hid_mutex());
    old = std::exchange(impl->loop, loop);
    if (old == nullptr) {
      platform::cf::retain(impl);
      detail::hid_state_of(impl->service).scheduled_devices.push_back(impl);
    }
  }
  platform::cf::release(old);
}

void hid_device_unschedule_from_run_loop(hid_device_ref device, platform::cf::run_loop_ref loop) {
  if (device == nullptr || loop == nullptr) {
    return;
  }
  hid_device_impl* impl = as_device(device);
  {
    std::lock_guard lock(detail::hid_mutex());
    if (impl->loop != loop) {
      return;
    }
    impl->loop = nullptr;
    std::erase(detail::hid_state_of(impl->service).scheduled_devices, impl);
    detail::drop_hid_state_if_unused(impl->service);
  }
  platform::cf::release(loop);
  // The list's reference; may be the last one.
  platform::cf::release(impl);
}

void registry_entry_fail_hid_opens(registry_entry_ref entry, std::vector<io_return> codes) {
  if (entry == nullptr) {
    return;
  }
  std::lock_guard lock(detail::registry_mutex());
  auto& results = detail::as_entry(entry)->hid_open_results;
  results.assign(codes.begin(), codes.end());
}

int registry_entry_get_hid_open_count(registry_entry_ref entry) {
  if (entry == nullptr) {
    return 0;
  }
  std::lock_guard lock(detail::hid_mutex());
  const auto* service = detail::as_entry(entry);
  const int count = detail::hid_state_of(service).open_count;
  detail::drop_hid_state_if_unused(service);
  return count;
}

} // namespace platform::iokit

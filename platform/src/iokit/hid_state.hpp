#pragma once

#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/hid_queue.hpp"
#include "registry_state.hpp"

#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

// What the HID files share. hid_mutex guards the devices' and queues' changeable state and the
// lists below; it may be taken inside registry_mutex but never around it, and nothing is released
// under it.
namespace platform::iokit::detail {

std::mutex& hid_mutex();

class hid_device_impl final : public hid_device {
public:
  // Takes over one reference to the service.
  explicit hid_device_impl(const entry_impl* device_service) : service(device_service) {}
  ~hid_device_impl() override;

  const entry_impl* const service;

  // Guarded by hid_mutex.
  bool open = false;
  bool seized = false;
  hid_callback removal_callback = nullptr;
  void* removal_context = nullptr;
  platform::cf::run_loop_ref loop = nullptr; // retained while scheduled
};

class hid_queue_impl final : public hid_queue {
public:
  // Retains the device.
  hid_queue_impl(const hid_device_impl* device, std::size_t depth);
  ~hid_queue_impl() override;

  const hid_device_impl* const device;
  const std::size_t depth;

  // Guarded by hid_mutex.
  std::vector<hid_element_ref> elements; // retained
  std::deque<hid_value_ref> values;      // retained
  hid_callback callback = nullptr;
  void* context = nullptr;
  platform::cf::run_loop_ref loop = nullptr; // retained while scheduled
  bool started = false;
  bool callback_pending = false;
};

// Per service, guarded by hid_mutex: the devices that are scheduled and the queues that are
// started, each retained by the list.
struct hid_service_state {
  std::vector<const hid_device_impl*> scheduled_devices;
  std::vector<const hid_queue_impl*> started_queues;
  int open_count = 0;
  bool seized = false;
};

hid_service_state& hid_state_of(const entry_impl* service);
// Forgets the state of a service that has no scheduled device, started queue or open device.
void drop_hid_state_if_unused(const entry_impl* service);

} // namespace platform::iokit::detail

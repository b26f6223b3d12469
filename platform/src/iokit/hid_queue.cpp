#include "platform/iokit/hid_queue.hpp"

#include "hid_state.hpp"

#include <algorithm>
#include <utility>

namespace platform::iokit {
namespace detail {

hid_queue_impl::hid_queue_impl(const hid_device_impl* queue_device, std::size_t queue_depth)
    : device(queue_device), depth(queue_depth) {
  platform::cf::retain(device);
}

hid_queue_impl::~hid_queue_impl() {
  for (hid_element_ref element : elements) {
    platform::cf::release(element);
  }
  for (hid_value_ref value : values) {
    platform::cf::release(value);
  }
  platform::cf::release(loop);
  platform::cf::release(device);
}

} // namespace detail

namespace {

using detail::hid_queue_impl;

hid_queue_impl* as_queue(hid_queue_ref queue) {
  return const_cast<hid_queue_impl*>(static_cast<const hid_queue_impl*>(queue));
}

} // namespace

hid_queue_ref hid_queue_create(hid_device_ref device, std::size_t depth) {
  if (device == nullptr || depth == 0) {
    return nullptr;
  }
  return new hid_queue_impl(static_cast<const detail::hid_device_impl*>(device), depth);
}

void hid_queue_add_element(hid_queue_ref queue, hid_element_ref element) {
  if (queue == nullptr || element == nullptr) {
    return;
  }
  std::lock_guard lock(detail::hid_mutex());
  auto& elements = as_queue(queue)->elements;
  if (std::ranges::find(elements, element) == elements.end()) {
    platform::cf::retain(element);
    elements.push_back(element);
  }
}

void hid_queue_register_value_available_callback(hid_queue_ref queue, hid_callback callback, void* context) {
  if (queue == nullptr) {
    return;
  }
  std::lock_guard lock(detail::hid_mutex());
  as_queue(queue)->callback = callback;
  as_queue(queue)->context = context;
}

void hid_queue_schedule_with_run_loop(hid_queue_ref queue, platform::cf::run_loop_ref loop) {
  if (queue == nullptr || loop == nullptr) {
    return;
  }
  platform::cf::retain(loop);
  platform::cf::run_loop_ref old = nullptr;
  {
    std::lock_guard lock(detail::hid_mutex());
    old = std::exchange(as_queue(queue)->loop, loop);
    // A call pending on the old loop is not coming to the new one.
    as_queue(queue)->callback_pending = false;
  }
  platform::cf::release(old);
}

void hid_queue_unschedule_from_run_loop(hid_queue_ref queue, platform::cf::run_loop_ref loop) {
  if (queue == nullptr || loop == nullptr) {
    return;
  }
  {
    std::lock_guard lock(detail::hid_mutex());
    if (as_queue(queue)->loop != loop) {
      return;
    }
    as_queue(queue)->loop = nullptr;
  }
  platform::cf::release(loop);
}

void hid_queue_start(hid_queue_ref queue) {
  if (queue == nullptr) {
    return;
  }
  hid_queue_impl* impl = as_queue(queue);
  std::lock_guard lock(detail::hid_mutex());
  if (!impl->started) {
    impl->started = true;
    platform::cf::retain(impl);
    detail::hid_state_of(impl->device->service).started_queues.push_back(impl);
  }
}

void hid_queue_stop(hid_queue_ref queue) {
  if (queue == nullptr) {
    return;
  }
  hid_queue_impl* impl = as_queue(queue);
  std::deque<hid_value_ref> dropped;
  {
    std::lock_guard lock(detail::hid_mutex());
    if (!impl->started) {
      return;
    }
    impl->started = false;
    dropped.swap(impl->values);
    std::erase(detail::hid_state_of(impl->device->service).started_queues, impl);
    detail::drop_hid_state_if_unused(impl->device->service);
  }
  for (hid_value_ref value : dropped) {
    platform::cf::release(value);
  }
  // The list's reference; may be the last one.
  platform::cf::release(impl);
}

hid_value_ref hid_queue_copy_next_value(hid_queue_ref queue) {
  if (queue == nullptr) {
    return nullptr;
  }
  std::lock_guard lock(detail::hid_mutex());
  auto& values = as_queue(queue)->values;
  if (values.empty()) {
    return nullptr;
  }
  hid_value_ref value = values.front();
  values.pop_front();
  return value; // the queue's reference passes to the caller
}

} // namespace platform::iokit

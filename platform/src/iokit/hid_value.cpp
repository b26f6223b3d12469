#include "platform/iokit/hid_value.hpp"

#include "hid_state.hpp"

#include <algorithm>
#include <memory>
#include <utility>

namespace platform::iokit {
namespace {

class hid_value_impl final : public hid_value {
public:
  // Retains the element.
  hid_value_impl(hid_element_ref value_element, std::uint64_t stamp, std::int64_t value)
      : element(value_element), time_stamp(stamp), integer_value(value) {
    platform::cf::retain(element);
  }
  ~hid_value_impl() override { platform::cf::release(element); }

  const hid_element_ref element;
  const std::uint64_t time_stamp;
  const std::int64_t integer_value;
};

const hid_value_impl* as_value(hid_value_ref value) { return static_cast<const hid_value_impl*>(value); }

} // namespace

hid_value_ref hid_value_create(hid_element_ref element, std::uint64_t time_stamp, std::int64_t integer_value) {
  return new hid_value_impl(element, time_stamp, integer_value);
}

hid_element_ref hid_value_get_element(hid_value_ref value) {
  return value == nullptr ? nullptr : as_value(value)->element;
}

std::uint64_t hid_value_get_time_stamp(hid_value_ref value) {
  return value == nullptr ? 0 : as_value(value)->time_stamp;
}

std::int64_t hid_value_get_integer_value(hid_value_ref value) {
  return value == nullptr ? 0 : as_value(value)->integer_value;
}

void registry_entry_report_hid_value(registry_entry_ref entry, hid_value_ref value) {
  if (entry == nullptr || value == nullptr) {
    return;
  }
  const hid_element_ref element = as_value(value)->element;
  std::vector<std::pair<const detail::hid_queue_impl*, platform::cf::run_loop_ref>> to_call; // both retained
  {
    std::lock_guard lock(detail::hid_mutex());
    const auto* service = detail::as_entry(entry);
    for (const detail::hid_queue_impl* queue : detail::hid_state_of(service).started_queues) {
      auto* q = const_cast<detail::hid_queue_impl*>(queue);
      if (element != nullptr && std::ranges::find(q->elements, element) == q->elements.end()) {
        continue;
      }
      if (q->values.size() >= q->depth) {
        continue;
      }
      platform::cf::retain(value);
      q->values.push_back(value);
      // One call serves every value that arrives before it runs.
      if (q->callback != nullptr && q->loop != nullptr && !q->callback_pending) {
        q->callback_pending = true;
        platform::cf::retain(q);
        platform::cf::retain(q->loop);
        to_call.emplace_back(q, q->loop);
      }
    }
    detail::drop_hid_state_if_unused(service);
  }
  for (auto [queue, loop] : to_call) {
    std::shared_ptr<const detail::hid_queue_impl> held(
        queue, [](const detail::hid_queue_impl* q) { platform::cf::release(q); });
    platform::cf::run_loop_perform_block(loop, [held] {
      hid_callback callback = nullptr;
      void* context = nullptr;
      {
        std::lock_guard lock(detail::hid_mutex());
        auto* q = const_cast<detail::hid_queue_impl*>(held.get());
        q->callback_pending = false;
        if (q->loop != nullptr) {
          callback = q->callback;
          context = q->context;
        }
      }
      if (callback != nullptr) {
        callback(context, return_success, const_cast<detail::hid_queue_impl*>(held.get()));
      }
    });
    platform::cf::run_loop_wake_up(loop);
    platform::cf::release(loop);
  }
}

} // namespace platform::iokit

#include "platform/iokit/notification.hpp"

#include "registry_state.hpp"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace platform::iokit {
namespace {

class port_impl;

struct service_notification {
  notification_type type;
  matching_ref matching; // retained
  service_notification_callback callback;
  void* context;
  iterator_ref iterator; // retained
  // First match: the ids already handed out, so each service is reported once.
  std::set<std::uint64_t> reported_ids;

  ~service_notification() {
    platform::cf::release(matching);
    platform::cf::release(iterator);
  }
};

// The live ports; under the registry mutex, like their notifications. A port is in the list from
// its creation until it is destroyed, and the list holds no reference: the creator's reference
// lasts until then.
std::vector<port_impl*>& live_ports() {
  // Never destroyed: device monitors left running use their ports while the process exits.
  static auto& ports = *new std::vector<port_impl*>();
  return ports;
}

class port_impl final : public notification_port {
public:
  port_impl() {
    platform::cf::run_loop_source_context context;
    context.info = this;
    context.perform = [](void* info) { static_cast<port_impl*>(info)->perform(); };
    source_ = platform::cf::run_loop_source_create(context);
  }

  ~port_impl() override { platform::cf::release(source_); }

  platform::cf::run_loop_source_ref source() const { return source_; }

  // Under the registry mutex.
  std::vector<std::unique_ptr<service_notification>> notifications;

private:
  // On the loop that has the source: calls back every notification whose iterator holds services.
  void perform() {
    struct call {
      service_notification_callback callback;
      void* context;
      iterator_ref iterator; // retained
    };
    std::vector<call> calls;
    {
      std::lock_guard lock(detail::registry_mutex());
      if (std::ranges::find(live_ports(), this) == live_ports().end()) {
        return;
      }
      for (const auto& notification : notifications) {
        if (notification->callback != nullptr && !detail::iterator_is_empty(notification->iterator)) {
          platform::cf::retain(notification->iterator);
          calls.push_back({notification->callback, notification->context, notification->iterator});
        }
      }
    }
    for (const call& c : calls) {
      c.callback(c.context, c.iterator);
      platform::cf::release(c.iterator);
    }
  }

  platform::cf::run_loop_source_ref source_;
};

struct failures {
  int port_creates = 0;
  int notifications = 0;
  io_return notification_code = return_success;
};

// Under the registry mutex.
failures& get_failures() {
  static failures value;
  return value;
}

// Appends the entry to the iterators of the matching notifications of that type; gives the sources
// to signal, each retained once.
std::vector<platform::cf::run_loop_source_ref> deliver(const detail::entry_impl* entry, notification_type type) {
  std::vector<platform::cf::run_loop_source_ref> sources;
  std::lock_guard lock(detail::registry_mutex());
  if (type == notification_type::first_match && !entry->registered) {
    return sources;
  }
  for (port_impl* port : live_ports()) {
    bool delivered = false;
    for (const auto& notification : port->notifications) {
      if (notification->type != type || !detail::matches(notification->matching, *entry)) {
        continue;
      }
      if (type == notification_type::first_match && !notification->reported_ids.insert(entry->id).second) {
        continue;
      }
      platform::cf::retain(entry);
      detail::iterator_append(notification->iterator, entry);
      delivered = true;
    }
    if (delivered) {
      sources.push_back(port->source());
      platform::cf::retain(sources.back());
    }
  }
  return sources;
}

void signal(const std::vector<platform::cf::run_loop_source_ref>& sources) {
  for (platform::cf::run_loop_source_ref source : sources) {
    platform::cf::run_loop_source_signal_and_wake_up(source);
    platform::cf::release(source);
  }
}

} // namespace

namespace detail {

void notify_service_published(const entry_impl* entry) { signal(deliver(entry, notification_type::first_match)); }

void notify_service_terminated(const entry_impl* entry) { signal(deliver(entry, notification_type::terminate)); }

} // namespace detail

notification_port_ref notification_port_create() {
  std::lock_guard lock(detail::registry_mutex());
  if (get_failures().port_creates > 0) {
    --get_failures().port_creates;
    return nullptr;
  }
  auto* port = new port_impl();
  live_ports().push_back(port);
  return port;
}

void notification_port_destroy(notification_port_ref port) {
  if (port == nullptr) {
    return;
  }
  auto* impl = const_cast<port_impl*>(static_cast<const port_impl*>(port));
  std::vector<std::unique_ptr<service_notification>> ended;
  {
    std::lock_guard lock(detail::registry_mutex());
    std::erase(live_ports(), impl);
    ended.swap(impl->notifications);
  }
  // Released outside the lock: the iterators may hold the last references to entries.
  ended.clear();
  platform::cf::release(port);
}

platform::cf::run_loop_source_ref notification_port_get_run_loop_source(notification_port_ref port) {
  return port == nullptr ? nullptr : static_cast<const port_impl*>(port)->source();
}

io_return service_add_matching_notification(notification_port_ref port, notification_type type, matching_ref matching,
                                            service_notification_callback callback, void* context,
                                            iterator_ref* iterator) {
  if (port == nullptr || matching == nullptr || iterator == nullptr) {
    platform::cf::release(matching);
    return return_bad_argument;
  }
  auto notification = std::make_unique<service_notification>();
  notification->type = type;
  notification->matching = matching;
  notification->callback = callback;
  notification->context = context;

  std::lock_guard lock(detail::registry_mutex());
  auto& fail = get_failures();
  if (fail.notifications > 0) {
    --fail.notifications;
    // The notification's destructor releases the matching; nothing it holds takes this lock.
    notification.reset();
    return fail.notification_code;
  }
  auto* impl = const_cast<port_impl*>(static_cast<const port_impl*>(port));
  if (std::ranges::find(live_ports(), impl) == live_ports().end()) {
    notification.reset();
    return return_bad_argument;
  }
  std::vector<const detail::entry_impl*> present;
  if (type == notification_type::first_match) {
    for (const detail::entry_impl* entry : detail::registered_entries()) {
      if (detail::matches(matching, *entry)) {
        platform::cf::retain(entry);
        present.push_back(entry);
        notification->reported_ids.insert(entry->id);
      }
    }
  }
  notification->iterator = detail::make_iterator(std::move(present));
  *iterator = notification->iterator;
  platform::cf::retain(*iterator);
  impl->notifications.push_back(std::move(notification));
  return return_success;
}

void fail_notification_port_creates(int count) {
  std::lock_guard lock(detail::registry_mutex());
  get_failures().port_creates = count;
}

void fail_matching_notifications(io_return code, int count) {
  std::lock_guard lock(detail::registry_mutex());
  get_failures().notifications = count;
  get_failures().notification_code = code;
}

} // namespace platform::iokit

#include "platform/iokit/registry.hpp"

#include "platform/cf/boolean.hpp"
#include "platform/cf/number.hpp"
#include "platform/cf/string.hpp"
#include "registry_state.hpp"

#include <algorithm>
#include <atomic>
#include <deque>
#include <utility>

namespace platform::iokit {
namespace detail {

std::mutex& registry_mutex() {
  static std::mutex mutex;
  return mutex;
}

entry_impl::entry_impl(std::uint64_t entry_id, std::string entry_class_name)
    : id(entry_id), class_name(std::move(entry_class_name)), name(class_name) {}

entry_impl::~entry_impl() {
  for (const auto& [key, value] : properties) {
    platform::cf::release(value);
  }
  for (const entry_impl* parent : parents) {
    platform::cf::release(parent);
  }
  for (hid_element_ref element : hid_elements) {
    platform::cf::release(element);
  }
}

entry_impl* as_entry(registry_entry_ref entry) {
  return const_cast<entry_impl*>(static_cast<const entry_impl*>(entry));
}

std::vector<const entry_impl*>& registered_entries() {
  // Never destroyed: device monitors left running use the registry while the process exits.
  static auto& entries = *new std::vector<const entry_impl*>();
  return entries;
}

namespace {

class iterator_impl final : public iterator {
public:
  explicit iterator_impl(std::vector<const entry_impl*> entries) : entries_(entries.begin(), entries.end()) {}

  ~iterator_impl() override {
    for (const entry_impl* entry : entries_) {
      platform::cf::release(entry);
    }
  }

  void append(const entry_impl* entry) const {
    std::lock_guard lock(mutex_);
    entries_.push_back(entry);
  }

  bool empty() const {
    std::lock_guard lock(mutex_);
    return entries_.empty();
  }

  registry_entry_ref next() const {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) {
      return nullptr;
    }
    const entry_impl* entry = entries_.front();
    entries_.pop_front();
    return entry; // the iterator's reference passes to the caller
  }

private:
  mutable std::mutex mutex_;
  mutable std::deque<const entry_impl*> entries_; // retained
};

} // namespace

iterator_ref make_iterator(std::vector<const entry_impl*> entries) { return new iterator_impl(std::move(entries)); }

void iterator_append(iterator_ref iterator, const entry_impl* entry) {
  static_cast<const iterator_impl*>(iterator)->append(entry);
}

bool iterator_is_empty(iterator_ref iterator) { return static_cast<const iterator_impl*>(iterator)->empty(); }

} // namespace detail

namespace {

using detail::as_entry;
using detail::entry_impl;

// Real ids are large and never 0, which callers take to mean no entry.
std::atomic<std::uint64_t> next_registry_entry_id{0x100000001};

bool is_ancestor_or_self(const entry_impl* candidate, const entry_impl* entry) {
  if (candidate == entry) {
    return true;
  }
  return std::ranges::any_of(entry->parents,
                             [candidate](const entry_impl* parent) { return is_ancestor_or_self(candidate, parent); });
}

} // namespace

registry_entry_ref registry_entry_create(std::string_view class_name) {
  auto* entry = new entry_impl(next_registry_entry_id.fetch_add(1, std::memory_order_relaxed), std::string(class_name));
  platform::cf::retain(entry); // the registry's reference
  {
    std::lock_guard lock(detail::registry_mutex());
    detail::registered_entries().push_back(entry);
  }
  detail::notify_service_published(entry);
  return entry;
}

void registry_entry_terminate(registry_entry_ref entry) {
  if (entry == nullptr) {
    return;
  }
  {
    std::lock_guard lock(detail::registry_mutex());
    entry_impl* impl = as_entry(entry);
    if (!impl->registered) {
      return;
    }
    impl->registered = false;
    std::erase(detail::registered_entries(), impl);
  }
  detail::notify_service_terminated(as_entry(entry));
  detail::notify_hid_devices_removed(as_entry(entry));
  platform::cf::release(entry);
}

void registry_entry_set_name(registry_entry_ref entry, std::string_view name) {
  if (entry == nullptr) {
    return;
  }
  {
    std::lock_guard lock(detail::registry_mutex());
    as_entry(entry)->name = std::string(name);
  }
  detail::notify_service_published(as_entry(entry));
}

bool registry_entry_attach_to_parent(registry_entry_ref entry, registry_entry_ref parent) {
  if (entry == nullptr || parent == nullptr) {
    return false;
  }
  std::lock_guard lock(detail::registry_mutex());
  entry_impl* child = as_entry(entry);
  const entry_impl* parent_impl = as_entry(parent);
  // A cycle would keep its entries alive forever and send parent searches round it.
  if (std::ranges::find(child->parents, parent_impl) != child->parents.end() ||
      is_ancestor_or_self(child, parent_impl)) {
    return false;
  }
  platform::cf::retain(parent_impl);
  child->parents.push_back(parent_impl);
  return true;
}

void registry_entry_set_property(registry_entry_ref entry, std::string_view key, platform::cf::type_ref value) {
  if (entry == nullptr) {
    return;
  }
  platform::cf::retain(value);
  platform::cf::type_ref old = nullptr;
  {
    std::lock_guard lock(detail::registry_mutex());
    auto& properties = as_entry(entry)->properties;
    auto it = properties.find(key);
    if (it != properties.end()) {
      old = it->second;
      if (value == nullptr) {
        properties.erase(it);
      } else {
        it->second = value;
      }
    } else if (value != nullptr) {
      properties.emplace(std::string(key), value);
    }
  }
  platform::cf::release(old);
}

void registry_entry_set_number_property(registry_entry_ref entry, std::string_view key, std::int64_t value) {
  platform::cf::number_ref number = platform::cf::number_create_int64(value);
  registry_entry_set_property(entry, key, number);
  platform::cf::release(number);
}

void registry_entry_set_string_property(registry_entry_ref entry, std::string_view key, std::string_view value) {
  platform::cf::string_ref string = platform::cf::string_create_with_utf8(value);
  registry_entry_set_property(entry, key, string);
  platform::cf::release(string);
}

void registry_entry_set_boolean_property(registry_entry_ref entry, std::string_view key, bool value) {
  registry_entry_set_property(entry, key, platform::cf::boolean_get(value));
}

std::optional<std::uint64_t> registry_entry_get_registry_entry_id(registry_entry_ref entry) {
  if (entry == nullptr) {
    return std::nullopt;
  }
  return as_entry(entry)->id;
}

platform::cf::type_ref registry_entry_create_property(registry_entry_ref entry, std::string_view key) {
  if (entry == nullptr) {
    return nullptr;
  }
  std::lock_guard lock(detail::registry_mutex());
  const auto& properties = as_entry(entry)->properties;
  auto it = properties.find(key);
  return it == properties.end() ? nullptr : platform::cf::retain(it->second);
}

iterator_ref registry_entry_get_parent_iterator(registry_entry_ref entry) {
  if (entry == nullptr) {
    return nullptr;
  }
  std::vector<const entry_impl*> parents;
  {
    std::lock_guard lock(detail::registry_mutex());
    parents = as_entry(entry)->parents;
    for (const entry_impl* parent : parents) {
      platform::cf::retain(parent);
    }
  }
  return detail::make_iterator(std::move(parents));
}

registry_entry_ref iterator_next(iterator_ref iterator) {
  if (iterator == nullptr) {
    return nullptr;
  }
  return static_cast<const detail::iterator_impl*>(iterator)->next();
}

} // namespace platform::iokit

#include "platform/iokit/matching.hpp"

#include "platform/cf/number.hpp"
#include "registry_state.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace platform::iokit {
namespace {

constexpr std::string_view hid_device_class_name = "IOHIDDevice";
constexpr std::string_view device_usage_page_key = "DeviceUsagePage";
constexpr std::string_view device_usage_key = "DeviceUsage";

class matching_impl final : public matching {
public:
  enum class criterion {
    class_name,
    name,
  };

  matching_impl(criterion by, std::string_view value) : criterion_(by), value_(value) {}

  ~matching_impl() override {
    for (const auto& [key, value] : values_) {
      platform::cf::release(value);
    }
  }

  // Under the registry mutex, as are the values.
  bool matches(const detail::entry_impl& entry) const {
    switch (criterion_) {
      case criterion::class_name:
        if (entry.class_name != value_ && !(value_ == hid_device_class_name && entry.hid_usage_pairs)) {
          return false;
        }
        break;
      case criterion::name:
        if (entry.name != value_) {
          return false;
        }
        break;
    }
    return matches_usage(entry);
  }

  // Takes over the caller's reference to value; gives back the one it replaces.
  platform::cf::type_ref exchange_value(std::string_view key, platform::cf::type_ref value) {
    platform::cf::type_ref old = nullptr;
    if (auto it = values_.find(key); it != values_.end()) {
      old = it->second;
      values_.erase(it);
    }
    if (value != nullptr) {
      values_.emplace(std::string(key), value);
    }
    return old;
  }

private:
  std::optional<std::int64_t> number_value(std::string_view key) const {
    auto it = values_.find(key);
    return it == values_.end() ? std::nullopt
                               : platform::cf::number_get_int64(dynamic_cast<platform::cf::number_ref>(it->second));
  }

  bool matches_usage(const detail::entry_impl& entry) const {
    const auto usage_page = number_value(device_usage_page_key);
    const auto usage = number_value(device_usage_key);
    if (!usage_page && !usage) {
      return true;
    }
    if (!entry.hid_usage_pairs) {
      return false;
    }
    return std::ranges::any_of(*entry.hid_usage_pairs, [&](const hid_usage_pair& pair) {
      return (!usage_page || *usage_page == pair.usage_page) && (!usage || *usage == pair.usage);
    });
  }

  criterion criterion_;
  std::string value_;
  std::map<std::string, platform::cf::type_ref, std::less<>> values_; // retained
};

const matching_impl* as_matching(matching_ref matching) { return static_cast<const matching_impl*>(matching); }

// Each retained once for the caller.
std::vector<const detail::entry_impl*> copy_matching_entries(matching_ref matching, bool first_only) {
  std::vector<const detail::entry_impl*> result;
  std::lock_guard lock(detail::registry_mutex());
  for (const detail::entry_impl* entry : detail::registered_entries()) {
    if (as_matching(matching)->matches(*entry)) {
      platform::cf::retain(entry);
      result.push_back(entry);
      if (first_only) {
        break;
      }
    }
  }
  return result;
}

} // namespace

namespace detail {

bool matches(matching_ref matching, const entry_impl& entry) {
  return matching != nullptr && as_matching(matching)->matches(entry);
}

} // namespace detail

matching_ref service_matching(std::string_view class_name) {
  return new matching_impl(matching_impl::criterion::class_name, class_name);
}

matching_ref service_name_matching(std::string_view name) {
  return new matching_impl(matching_impl::criterion::name, name);
}

void matching_set_value(matching_ref matching, std::string_view key, platform::cf::type_ref value) {
  if (matching == nullptr) {
    return;
  }
  platform::cf::retain(value);
  platform::cf::type_ref old = nullptr;
  {
    std::lock_guard lock(detail::registry_mutex());
    old = const_cast<matching_impl*>(as_matching(matching))->exchange_value(key, value);
  }
  platform::cf::release(old);
}

iterator_ref get_matching_services(matching_ref matching) {
  if (matching == nullptr) {
    return nullptr;
  }
  return detail::make_iterator(copy_matching_entries(matching, false));
}

registry_entry_ref get_matching_service(matching_ref matching) {
  if (matching == nullptr) {
    return nullptr;
  }
  auto entries = copy_matching_entries(matching, true);
  return entries.empty() ? nullptr : entries.front();
}

} // namespace platform::iokit

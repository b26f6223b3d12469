#include "platform/iokit/matching.hpp"

#include "registry_state.hpp"

#include <string>
#include <utility>

namespace platform::iokit {
namespace {

class matching_impl final : public matching {
public:
  enum class criterion {
    class_name,
    name,
  };

  matching_impl(criterion by, std::string_view value) : criterion_(by), value_(value) {}

  // Under the registry mutex.
  bool matches(const detail::entry_impl& entry) const {
    switch (criterion_) {
      case criterion::class_name:
        return entry.class_name == value_;
      case criterion::name:
        return entry.name == value_;
    }
    return false;
  }

private:
  criterion criterion_;
  std::string value_;
};

// Each retained once for the caller.
std::vector<const detail::entry_impl*> copy_matching_entries(matching_ref matching, bool first_only) {
  std::vector<const detail::entry_impl*> result;
  const auto* impl = static_cast<const matching_impl*>(matching);
  std::lock_guard lock(detail::registry_mutex());
  for (const detail::entry_impl* entry : detail::registered_entries()) {
    if (impl->matches(*entry)) {
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

matching_ref service_matching(std::string_view class_name) {
  return new matching_impl(matching_impl::criterion::class_name, class_name);
}

matching_ref service_name_matching(std::string_view name) {
  return new matching_impl(matching_impl::criterion::name, name);
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

#pragma once

#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/matching.hpp"
#include "platform/iokit/registry.hpp"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// What the registry's files share. One mutex guards the list of registered entries and every
// entry's changeable state; destructors never take it, so a release under it is safe.
namespace platform::iokit::detail {

std::mutex& registry_mutex();

class entry_impl final : public registry_entry {
public:
  entry_impl(std::uint64_t id, std::string class_name);
  ~entry_impl() override;

  const std::uint64_t id;
  const std::string class_name;

  // Guarded by registry_mutex.
  std::string name;
  std::map<std::string, platform::cf::type_ref, std::less<>> properties; // retained
  std::vector<const entry_impl*> parents;                                // retained
  std::optional<std::vector<hid_usage_pair>> hid_usage_pairs;            // set for HID services
  std::vector<hid_element_ref> hid_elements;                             // retained
  std::deque<std::int32_t> hid_open_results;                             // failures still to give
  bool registered = true;
};

// Entries are handed out as pointers to const, like every platform object; their state changes
// only under registry_mutex.
entry_impl* as_entry(registry_entry_ref entry);

// Registered entries, oldest first. Guarded by registry_mutex.
std::vector<const entry_impl*>& registered_entries();

// Takes over one reference to each entry.
iterator_ref make_iterator(std::vector<const entry_impl*> entries);
// Takes over one reference to the entry and puts it after the iterator's other entries.
void iterator_append(iterator_ref iterator, const entry_impl* entry);
bool iterator_is_empty(iterator_ref iterator);

// Whether the description matches the entry. Under registry_mutex.
bool matches(matching_ref matching, const entry_impl& entry);

// Tells the service notifications about an entry that was registered or changed, and about one
// that was terminated. Called after registry_mutex was released.
void notify_service_published(const entry_impl* entry);
void notify_service_terminated(const entry_impl* entry);

// Calls the removal callbacks of the devices scheduled over a terminated service.
void notify_hid_devices_removed(const entry_impl* entry);

} // namespace platform::iokit::detail

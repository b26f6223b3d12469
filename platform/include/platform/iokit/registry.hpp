#pragma once

#include "platform/cf/type.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

// The registry of services: entries with a class name, a name, typed properties and parent
// links, each with an id unique in the process. Tests build it: they create, link and
// terminate entries; the library reads it. All calls are safe from any thread.
namespace platform::iokit {

class object : public platform::cf::type {
protected:
  object() = default;
};
using object_ref = const object*;

class registry_entry : public object {
protected:
  registry_entry() = default;
};
using registry_entry_ref = const registry_entry*;

class iterator : public object {
protected:
  iterator() = default;
};
using iterator_ref = const iterator*;

// Building the registry.

// A new registered entry named after its class, with one reference for the caller; the registry
// keeps another until the entry is terminated.
registry_entry_ref registry_entry_create(std::string_view class_name);

// The registry forgets the entry: matching no longer finds it. Holders keep what they hold, and
// the entry keeps its id, properties and parents. Terminating twice changes nothing.
void registry_entry_terminate(registry_entry_ref entry);

void registry_entry_set_name(registry_entry_ref entry, std::string_view name);

// Adds parent after the entry's other parents. False, changing nothing, for null, for the entry
// itself, for a parent it already has and for a link that would make the entry its own ancestor.
bool registry_entry_attach_to_parent(registry_entry_ref entry, registry_entry_ref parent);

// The entry retains the value; a null value removes the property.
void registry_entry_set_property(registry_entry_ref entry, std::string_view key, platform::cf::type_ref value);
void registry_entry_set_number_property(registry_entry_ref entry, std::string_view key, std::int64_t value);
// Text that is not valid UTF-8 cannot be a string and removes the property.
void registry_entry_set_string_property(registry_entry_ref entry, std::string_view key, std::string_view value);
void registry_entry_set_boolean_property(registry_entry_ref entry, std::string_view key, bool value);

// Reading the registry.

// No value for null.
std::optional<std::uint64_t> registry_entry_get_registry_entry_id(registry_entry_ref entry);

// The property with one more reference for the caller; null for a null entry or a missing key.
platform::cf::type_ref registry_entry_create_property(registry_entry_ref entry, std::string_view key);

// A new iterator over the entry's parents in the order they were attached, with one reference for
// the caller; null for a null entry.
iterator_ref registry_entry_get_parent_iterator(registry_entry_ref entry);

// The next entry with one reference for the caller; null at the end and for a null iterator.
registry_entry_ref iterator_next(iterator_ref iterator);

} // namespace platform::iokit

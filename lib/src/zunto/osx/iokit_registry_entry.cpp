#include "zunto/osx/iokit_registry_entry.hpp"

#include "platform/cf/number.hpp"
#include "zunto/cf/make_string.hpp"
#include "zunto/osx/iokit_iterator.hpp"

namespace zunto::osx {
namespace {

// The property as an owning reference; empty for an empty entry, a key that cannot be converted
// or a missing property.
zunto::cf::cf_ptr<platform::cf::type_ref> copy_property(platform::iokit::registry_entry_ref entry,
                                                        platform::cf::string_ref key) {
  zunto::cf::cf_ptr<platform::cf::type_ref> result;
  if (entry == nullptr) {
    return result;
  }
  const std::optional<std::string> key_text = zunto::cf::make_string(key);
  if (!key_text) {
    return result;
  }
  platform::cf::type_ref property = platform::iokit::registry_entry_create_property(entry, *key_text);
  result.reset(property);
  platform::cf::release(property);
  return result;
}

} // namespace

iokit_registry_entry::iokit_registry_entry(platform::iokit::registry_entry_ref entry) : entry_(entry) {}

std::optional<std::int64_t> iokit_registry_entry::find_int64_property(platform::cf::string_ref key) const {
  const auto property = copy_property(entry_.get(), key);
  return platform::cf::number_get_int64(dynamic_cast<platform::cf::number_ref>(property.get()));
}

std::optional<std::string> iokit_registry_entry::find_string_property(platform::cf::string_ref key) const {
  const auto property = copy_property(entry_.get(), key);
  return zunto::cf::make_string(dynamic_cast<platform::cf::string_ref>(property.get()));
}

iokit_iterator iokit_registry_entry::get_parent_iterator() const {
  platform::iokit::iterator_ref iterator = platform::iokit::registry_entry_get_parent_iterator(entry_.get());
  iokit_iterator result(iterator);
  platform::cf::release(iterator);
  return result;
}

std::optional<iokit_registry_entry_id::value_t> iokit_registry_entry::find_registry_entry_id() const {
  if (auto id = platform::iokit::registry_entry_get_registry_entry_id(entry_.get())) {
    return iokit_registry_entry_id::value_t{*id};
  }
  return std::nullopt;
}

} // namespace zunto::osx

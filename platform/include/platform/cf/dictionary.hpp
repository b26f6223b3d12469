#pragma once

#include "platform/cf/type.hpp"

#include <cstddef>
#include <utility>
#include <vector>

// Immutable dictionaries of platform objects.
namespace platform::cf {

class dictionary : public type {
protected:
  dictionary() = default;
};
using dictionary_ref = const dictionary*;

using dictionary_entries = std::vector<std::pair<type_ref, type_ref>>;

// A new dictionary with one reference for the caller; it retains every key and value. Entries
// with a null key or value are left out.
dictionary_ref dictionary_create(const dictionary_entries& entries);

// 0 for null.
std::size_t dictionary_get_count(dictionary_ref dictionary);

// The keys and values in the order they were given; the caller gets no references of its own.
dictionary_entries dictionary_get_keys_and_values(dictionary_ref dictionary);

} // namespace platform::cf

#include "core_configuration_editing.hpp"
#include "libhbd.h"

#include <cstddef>
#include <iterator>
#include <string>

namespace {

using hbd::core_configuration::details::profile;
using hbd::core_configuration::details::simple_modifications;

// The profile's own list for null identifiers, else the list of that device's entry, added when
// missing.
simple_modifications& find_simple_modifications(profile& selected, const libhbd_device_identifiers* identifiers) {
  if (identifiers == nullptr) {
    return selected.get_simple_modifications();
  }
  return *selected.find_simple_modifications(libhbd_cpp::make_device_identifiers(*identifiers));
}

simple_modifications& find_fn_function_keys(profile& selected, const libhbd_device_identifiers* identifiers) {
  if (identifiers == nullptr) {
    return selected.get_fn_function_keys();
  }
  return *selected.find_fn_function_keys(libhbd_cpp::make_device_identifiers(*identifiers));
}

using find_list = simple_modifications& (*)(profile&, const libhbd_device_identifiers*);

std::size_t get_size(std::string_view entry_point, void* handle, const libhbd_device_identifiers* identifiers,
                     find_list find) {
  return libhbd::with_selected_profile(entry_point, handle, std::size_t{0}, [&](profile& selected) {
    return find(selected, identifiers).get_pairs().size();
  });
}

// The "from" (first) or "to" (second) text of the pair at the index; null when out of range.
const char* get_text(std::string_view entry_point, void* handle, std::size_t index,
                     const libhbd_device_identifiers* identifiers, find_list find,
                     std::string simple_modifications::pair::*text) {
  return libhbd::with_selected_profile(
      entry_point, handle, static_cast<const char*>(nullptr), [&](profile& selected) -> const char* {
        const auto& pairs = find(selected, identifiers).get_pairs();
        if (index >= pairs.size()) {
          return nullptr;
        }
        const auto& found = *std::next(pairs.begin(), static_cast<std::ptrdiff_t>(index));
        return (found.*text).c_str();
      });
}

} // namespace

size_t libhbd_core_configuration_get_selected_profile_simple_modifications_size(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return get_size(__func__, core_configuration_handle, device_identifiers, find_simple_modifications);
}

const char* libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers) {
  return get_text(__func__, core_configuration_handle, index, device_identifiers, find_simple_modifications,
                  &simple_modifications::pair::first);
}

const char* libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers) {
  return get_text(__func__, core_configuration_handle, index, device_identifiers, find_simple_modifications,
                  &simple_modifications::pair::second);
}

void libhbd_core_configuration_replace_selected_profile_simple_modification(
    void* core_configuration_handle, size_t index, const char* from_json, const char* to_json,
    const libhbd_device_identifiers* device_identifiers) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    if (from_json != nullptr && to_json != nullptr) {
      find_simple_modifications(selected, device_identifiers).replace_pair(index, from_json, to_json);
    }
  });
}

void libhbd_core_configuration_push_back_selected_profile_simple_modification(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    find_simple_modifications(selected, device_identifiers).push_back_pair();
  });
}

void libhbd_core_configuration_erase_selected_profile_simple_modification(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    find_simple_modifications(selected, device_identifiers).erase_pair(index);
  });
}

size_t libhbd_core_configuration_get_selected_profile_fn_function_keys_size(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return get_size(__func__, core_configuration_handle, device_identifiers, find_fn_function_keys);
}

const char* libhbd_core_configuration_get_selected_profile_fn_function_key_from_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers) {
  return get_text(__func__, core_configuration_handle, index, device_identifiers, find_fn_function_keys,
                  &simple_modifications::pair::first);
}

const char* libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers) {
  return get_text(__func__, core_configuration_handle, index, device_identifiers, find_fn_function_keys,
                  &simple_modifications::pair::second);
}

void libhbd_core_configuration_replace_selected_profile_fn_function_key(
    void* core_configuration_handle, const char* from_json, const char* to_json,
    const libhbd_device_identifiers* device_identifiers) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    if (from_json != nullptr && to_json != nullptr) {
      find_fn_function_keys(selected, device_identifiers).replace_second(from_json, to_json);
    }
  });
}

#pragma once

#include "platform/cf/type.hpp"

#include <filesystem>
#include <string_view>

// The user's and the host's preferences: one JSON object per application domain, user and host
// scope, stored as a file in a preferences folder and read afresh on every call. JSON booleans,
// integers, strings and objects come back as booleans, numbers, strings and dictionaries; other
// values (fractions, arrays, null) have no form here and read as absent.
namespace platform::preferences {

enum class user {
  current,
  any,
};

enum class host {
  any,
  current,
};

// "preferences" under $XDG_CONFIG_HOME (else under $HOME/.config), unless set_folder chose another;
// a relative or empty value counts as unset, and the path is empty when neither is known.
std::filesystem::path get_folder();
// An empty path goes back to the default.
void set_folder(std::filesystem::path folder);

// <folder>/<user>/<host>/<application_id>.json, the scopes named "current_user" or "any_user" and
// "any_host" or "current_host".
std::filesystem::path get_store_path(std::string_view application_id, user for_user, host for_host);

// The stored value with one reference for the caller; null when the store or the key is missing,
// the store is not a JSON object, or the value has no form here.
platform::cf::type_ref copy_value(std::string_view key, std::string_view application_id, user for_user, host for_host);
// The value for the current user on any host.
platform::cf::type_ref copy_app_value(std::string_view key, std::string_view application_id);

} // namespace platform::preferences

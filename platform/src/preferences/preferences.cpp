#include "platform/preferences/preferences.hpp"

#include "platform/cf/boolean.hpp"
#include "platform/cf/dictionary.hpp"
#include "platform/cf/number.hpp"
#include "platform/cf/string.hpp"
#include "platform/files/regular_file.hpp"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <exception>
#include <mutex>
#include <optional>
#include <string>

namespace platform::preferences {
namespace {

// Deep enough for any preference; stops a hostile store from nesting without end.
constexpr int max_depth = 64;
// Far above any real store; the poll reads every store again, so a huge one is not read at all.
constexpr std::size_t max_store_size = std::size_t{1} << 20;

// The store's text, or empty when it is missing, too large or no regular file. Opened without
// blocking, so a FIFO planted at the path cannot stall the poll.
std::optional<std::string> read_store(const std::filesystem::path& path) {
  return platform::files::read_regular_file(path.string(), max_store_size);
}

std::mutex& folder_mutex() {
  static std::mutex mutex;
  return mutex;
}

std::optional<std::filesystem::path>& chosen_folder() {
  // Never destroyed: the preferences monitor may read while the process exits.
  static auto& folder = *new std::optional<std::filesystem::path>();
  return folder;
}

// A relative value would name another folder in every working folder: it counts as unset.
const char* absolute_variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value == '/' ? value : nullptr;
}

std::filesystem::path default_folder() {
  if (const char* config = absolute_variable("XDG_CONFIG_HOME")) {
    return std::filesystem::path(config) / "preferences";
  }
  if (const char* home = absolute_variable("HOME")) {
    return std::filesystem::path(home) / ".config/preferences";
  }
  return {};
}

// A new object with one reference for the caller, or null.
platform::cf::type_ref make_value(const nlohmann::json& json, int depth) {
  if (depth > max_depth) {
    return nullptr;
  }
  switch (json.type()) {
    case nlohmann::json::value_t::boolean:
      return platform::cf::retain(platform::cf::boolean_get(json.get<bool>()));
    case nlohmann::json::value_t::number_integer:
      return platform::cf::number_create_int64(json.get<std::int64_t>());
    case nlohmann::json::value_t::number_unsigned:
      if (json.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
        return nullptr;
      }
      return platform::cf::number_create_int64(json.get<std::int64_t>());
    case nlohmann::json::value_t::string:
      return platform::cf::string_create_with_utf8(json.get_ref<const std::string&>());
    case nlohmann::json::value_t::object: {
      platform::cf::dictionary_entries entries;
      for (const auto& [key, value] : json.items()) {
        entries.emplace_back(platform::cf::string_create_with_utf8(key), make_value(value, depth + 1));
      }
      auto dictionary = platform::cf::dictionary_create(entries);
      for (const auto& [key, value] : entries) {
        platform::cf::release(key);
        platform::cf::release(value);
      }
      return dictionary;
    }
    default:
      return nullptr;
  }
}

} // namespace

std::filesystem::path get_folder() {
  {
    std::lock_guard lock(folder_mutex());
    if (chosen_folder()) {
      return *chosen_folder();
    }
  }
  return default_folder();
}

void set_folder(std::filesystem::path folder) {
  std::lock_guard lock(folder_mutex());
  if (folder.empty()) {
    chosen_folder().reset();
  } else {
    chosen_folder() = std::move(folder);
  }
}

std::filesystem::path get_store_path(std::string_view application_id, user for_user, host for_host) {
  return get_folder() / (for_user == user::current ? "current_user" : "any_user") /
         (for_host == host::any ? "any_host" : "current_host") / (std::string(application_id) + ".json");
}

platform::cf::type_ref copy_value(std::string_view key, std::string_view application_id, user for_user, host for_host) {
  const auto text = read_store(get_store_path(application_id, for_user, for_host));
  if (!text) {
    return nullptr;
  }
  try {
    // The JSON library's own depth is unbounded; the store is read back only when it is shallow.
    const auto json = nlohmann::json::parse(
        *text, [](int depth, nlohmann::json::parse_event_t, nlohmann::json&) { return depth <= max_depth; });
    if (!json.is_object()) {
      return nullptr;
    }
    auto it = json.find(std::string(key));
    return it == json.end() ? nullptr : make_value(*it, 0);
  } catch (const std::exception&) {
    return nullptr;
  }
}

platform::cf::type_ref copy_app_value(std::string_view key, std::string_view application_id) {
  return copy_value(key, application_id, user::current, host::any);
}

} // namespace platform::preferences

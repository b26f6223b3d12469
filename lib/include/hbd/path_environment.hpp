#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hbd {

// The environment values the backend's paths are made from. A variable set to an empty value is
// kept apart from an unset one: an empty XDG value means that no per-user home is known. A relative
// XDG value counts as unset, and a relative or empty HOME as unknown.
struct path_environment final {
  std::optional<std::string> system_root = std::nullopt;     // HBD_SYSTEM_ROOT
  std::optional<std::string> xdg_config_home = std::nullopt; // XDG_CONFIG_HOME
  std::optional<std::string> xdg_data_home = std::nullopt;   // XDG_DATA_HOME
  std::optional<std::string> home = std::nullopt;            // HOME

  static path_environment from_process();

  // The system path `text` (absolute, as the backend names it) placed under the system root;
  // an unset or empty root is "/", which leaves the text as it is.
  std::filesystem::path system_path(std::string_view text) const;

  // "hobbard" under XDG_CONFIG_HOME, else under HOME/.config; empty when neither is known.
  std::filesystem::path user_configuration_directory() const;

  // "hobbard" under XDG_DATA_HOME, else under HOME/.local/share; empty when neither is known.
  std::filesystem::path user_data_directory() const;
};

} // namespace hbd

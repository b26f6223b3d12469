#include "hbd/path_environment.hpp"

#include <cstdlib>

namespace hbd {
namespace {

std::optional<std::string> read_variable(const char* name) {
  if (const char* value = std::getenv(name)) {
    return value;
  }
  return std::nullopt;
}

// A relative value would place files under whatever folder the program was started from, which
// differs between processes; it counts as unset (a relative or empty HOME as unknown).
bool is_absolute(const std::string& value) { return !value.empty() && value.front() == '/'; }

std::filesystem::path user_directory(const std::optional<std::string>& xdg_value,
                                     const std::optional<std::string>& home, const char* home_relative) {
  std::filesystem::path base;
  if (xdg_value && (xdg_value->empty() || is_absolute(*xdg_value))) {
    // Set but empty counts as set: the home is then unknown, never guessed.
    base = *xdg_value;
  } else if (home && is_absolute(*home)) {
    base = std::filesystem::path(*home) / home_relative;
  }
  if (base.empty()) {
    return base;
  }
  return base / "hobbard";
}

} // namespace

path_environment path_environment::from_process() {
  return path_environment{
      .system_root = read_variable("HBD_SYSTEM_ROOT"),
      .xdg_config_home = read_variable("XDG_CONFIG_HOME"),
      .xdg_data_home = read_variable("XDG_DATA_HOME"),
      .home = read_variable("HOME"),
  };
}

std::filesystem::path path_environment::system_path(std::string_view text) const {
  std::filesystem::path root = system_root.value_or("");
  if (root.empty()) {
    root = "/";
  }
  // The text is absolute; appending it whole would replace the root.
  return root / std::filesystem::path(text).relative_path();
}

std::filesystem::path path_environment::user_configuration_directory() const {
  return user_directory(xdg_config_home, home, ".config");
}

std::filesystem::path path_environment::user_data_directory() const {
  return user_directory(xdg_data_home, home, ".local/share");
}

} // namespace hbd

#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace zunto::osx::frontmost_application_monitor {

// The frontmost application as the system reports it; either part may be unknown.
class application final {
public:
  application() = default;
  application(std::optional<std::string> bundle_identifier, std::optional<std::string> file_path);

  const std::optional<std::string>& get_bundle_identifier() const { return bundle_identifier_; }
  void set_bundle_identifier(std::optional<std::string> value) { bundle_identifier_ = std::move(value); }

  // The path of the application's executable.
  const std::optional<std::string>& get_file_path() const { return file_path_; }
  void set_file_path(std::optional<std::string> value) { file_path_ = std::move(value); }

  bool operator==(const application&) const = default;

private:
  std::optional<std::string> bundle_identifier_;
  std::optional<std::string> file_path_;
};

// An object with "bundle_identifier" and "file_path", each only when known.
void to_json(nlohmann::json& json, const application& value);

} // namespace zunto::osx::frontmost_application_monitor

template <>
struct std::hash<zunto::osx::frontmost_application_monitor::application> {
  std::size_t operator()(const zunto::osx::frontmost_application_monitor::application& value) const noexcept;
};

#include "zunto/osx/frontmost_application_monitor/application.hpp"

#include "zunto/hash_combine.hpp"

namespace zunto::osx::frontmost_application_monitor {

application::application(std::optional<std::string> bundle_identifier, std::optional<std::string> file_path)
    : bundle_identifier_(std::move(bundle_identifier)), file_path_(std::move(file_path)) {}

void to_json(nlohmann::json& json, const application& value) {
  json = nlohmann::json::object();
  if (value.get_bundle_identifier()) {
    json["bundle_identifier"] = *value.get_bundle_identifier();
  }
  if (value.get_file_path()) {
    json["file_path"] = *value.get_file_path();
  }
}

} // namespace zunto::osx::frontmost_application_monitor

std::size_t std::hash<zunto::osx::frontmost_application_monitor::application>::operator()(
    const zunto::osx::frontmost_application_monitor::application& value) const noexcept {
  std::uint64_t combined = 0;
  zunto::hash_combine(combined, zunto::optional_hash(value.get_bundle_identifier()));
  zunto::hash_combine(combined, zunto::optional_hash(value.get_file_path()));
  return combined;
}

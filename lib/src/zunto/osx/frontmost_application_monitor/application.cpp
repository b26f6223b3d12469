#include "zunto/osx/frontmost_application_monitor/application.hpp"

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

namespace {

void hash_combine(std::size_t& combined, std::size_t value) {
  combined ^= value + 0x9e3779b9 + (combined << 6) + (combined >> 2);
}

} // namespace

std::size_t std::hash<zunto::osx::frontmost_application_monitor::application>::operator()(
    const zunto::osx::frontmost_application_monitor::application& value) const noexcept {
  std::size_t combined = 0;
  const auto& bundle_identifier = value.get_bundle_identifier();
  hash_combine(combined, bundle_identifier ? std::hash<std::string>{}(*bundle_identifier) : 0);
  const auto& file_path = value.get_file_path();
  hash_combine(combined, file_path ? std::hash<std::string>{}(*file_path) : 0);
  return combined;
}

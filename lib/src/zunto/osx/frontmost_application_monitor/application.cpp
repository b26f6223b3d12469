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

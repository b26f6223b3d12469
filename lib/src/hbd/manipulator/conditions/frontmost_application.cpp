#include "hbd/manipulator/conditions/frontmost_application.hpp"

#include "hbd/manipulator/conditions/condition_reading.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <exception>

namespace hbd::manipulator::conditions {

namespace {

constexpr std::array<std::string_view, 2> type_names{"frontmost_application_if", "frontmost_application_unless"};

void read_patterns(const std::string& key, const nlohmann::json& value, std::vector<zunto::bounded_regex>& patterns) {
  zunto::json::requires_array(value, "`" + key + "`");
  for (const auto& entry : value) {
    zunto::json::requires_string(entry, key + " entry");
    try {
      patterns.emplace_back(entry.get<std::string>());
    } catch (const std::exception& e) {
      throw zunto::json::unmarshal_error(std::string(e.what()) + ": `" + key + ":" +
                                         zunto::json::dump_for_error_message(value) + "`");
    }
  }
}

bool search(const std::vector<zunto::bounded_regex>& patterns, const std::string& text) {
  for (const auto& pattern : patterns) {
    if (pattern.search(text)) {
      return true;
    }
  }
  return false;
}

} // namespace

frontmost_application::frontmost_application(const nlohmann::json& json) {
  condition_reading::read(
      json, type_names, [this](std::size_t index) { type_ = static_cast<type>(index); },
      [this](const std::string& key, const nlohmann::json& value) {
        if (key == "bundle_identifiers") {
          read_patterns(key, value, bundle_identifiers_);
        } else if (key == "file_paths") {
          read_patterns(key, value, file_paths_);
        } else {
          return false;
        }
        return true;
      });
}

bool frontmost_application::is_fulfilled(const event_queue::entry&, const manipulator_environment& environment) const {
  const auto& application = environment.get_frontmost_application();
  if (cache_ && cache_->first == application) {
    return cache_->second;
  }
  bool hit = false;
  if (const auto& bundle_identifier = application.get_bundle_identifier()) {
    hit = search(bundle_identifiers_, *bundle_identifier);
  }
  if (!hit) {
    if (const auto& file_path = application.get_file_path()) {
      hit = search(file_paths_, *file_path);
    }
  }
  const bool result = type_ == type::frontmost_application_if ? hit : !hit;
  cache_ = std::pair(application, result);
  return result;
}

} // namespace hbd::manipulator::conditions

#include "hbd/core_configuration/details/complex_modifications_rule.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <fmt/format.h>

namespace hbd::core_configuration::details {

namespace {

std::string backquoted(const std::string& key) {
  return fmt::format("`{0}`", key);
}

} // namespace

complex_modifications_rule::manipulator::manipulator(const nlohmann::json& json,
                                                     const complex_modifications_parameters& parameters)
    : json_(json), parameters_(parameters) {
  zunto::json::requires_object(json, "json");

  for (const auto& [key, value] : json.items()) {
    if (key == "description") {
      zunto::json::requires_string(value, backquoted(key));
      description_ = value.get<std::string>();
    } else if (key == "conditions") {
      zunto::json::requires_array(value, backquoted(key));
      for (const auto& c : value) {
        conditions_.emplace_back(c);
      }
    } else if (key == "parameters") {
      zunto::json::requires_object(value, backquoted(key));
      parameters_.update(value);
    }
    // "type", "from", "to" and the rest belong to the manipulator factory.
  }
}

complex_modifications_rule::complex_modifications_rule(const nlohmann::json& json,
                                                       const complex_modifications_parameters& parameters)
    : json_(json) {
  zunto::json::requires_object(json, "json");

  for (const auto& [key, value] : json.items()) {
    if (key == "description") {
      zunto::json::requires_string(value, backquoted(key));
      description_ = value.get<std::string>();
    } else if (key == "available_since") {
      zunto::json::requires_string(value, backquoted(key));
    } else if (key == "manipulators") {
      zunto::json::requires_array(value, backquoted(key));
      for (const auto& m : value) {
        try {
          manipulators_.emplace_back(m, parameters);
        } catch (const zunto::json::unmarshal_error& e) {
          throw zunto::json::unmarshal_error(fmt::format("`{0}` entry error: {1}", key, e.what()));
        }
      }
    }
  }

  if (manipulators_.empty()) {
    throw zunto::json::unmarshal_error(
        fmt::format("`manipulators` is missing or empty in {0}", zunto::json::dump_for_error_message(json)));
  }

  if (description_.empty()) {
    for (const auto& m : manipulators_) {
      if (!m.get_description().empty()) {
        description_ = m.get_description();
        break;
      }
    }
  }
}

} // namespace hbd::core_configuration::details

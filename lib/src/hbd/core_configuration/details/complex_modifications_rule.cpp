#include "hbd/core_configuration/details/complex_modifications_rule.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <fmt/format.h>

#include <string>
#include <utility>

namespace hbd::core_configuration::details {

namespace {

std::string backquoted(const std::string& key) { return fmt::format("`{0}`", key); }

const std::string& empty_text() {
  // Never destroyed: a configuration may be read while the process exits.
  static const auto& empty = *new std::string();
  return empty;
}

} // namespace

complex_modifications_rule::manipulator::condition::condition(const nlohmann::json& json)
    : json_(std::make_shared<const nlohmann::json>(json)) {}

complex_modifications_rule::manipulator::manipulator(const nlohmann::json& json,
                                                     const complex_modifications_parameters& parameters)
    : manipulator(std::make_shared<const nlohmann::json>(json), parameters) {}

complex_modifications_rule::manipulator::manipulator(std::shared_ptr<const nlohmann::json> json,
                                                     const complex_modifications_parameters& parameters)
    : json_(std::move(json)), parameters_(parameters), description_(&empty_text()) {
  zunto::json::requires_object(*json_, "json");

  for (auto it = json_->begin(); it != json_->end(); ++it) {
    const auto& key = it.key();
    const auto& value = *it;
    if (key == "description") {
      zunto::json::requires_string(value, backquoted(key));
      description_ = &value.get_ref<const std::string&>();
    } else if (key == "conditions") {
      zunto::json::requires_array(value, backquoted(key));
      conditions_.reserve(value.size());
      for (const auto& c : value) {
        conditions_.emplace_back(std::shared_ptr<const nlohmann::json>(json_, &c));
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
    : complex_modifications_rule(nlohmann::json(json), parameters) {}

complex_modifications_rule::complex_modifications_rule(nlohmann::json&& json,
                                                       const complex_modifications_parameters& parameters)
    : json_(std::make_shared<const nlohmann::json>(std::move(json))),
      json_depth_(zunto::json::nesting_depth(*json_)),
      description_(&empty_text()) {
  zunto::json::requires_object(*json_, "json");

  for (auto it = json_->begin(); it != json_->end(); ++it) {
    const auto& key = it.key();
    const auto& value = *it;
    if (key == "description") {
      zunto::json::requires_string(value, backquoted(key));
      description_ = &value.get_ref<const std::string&>();
    } else if (key == "available_since") {
      zunto::json::requires_string(value, backquoted(key));
    } else if (key == "manipulators") {
      zunto::json::requires_array(value, backquoted(key));
      manipulators_.reserve(value.size());
      for (const auto& m : value) {
        try {
          manipulators_.emplace_back(std::shared_ptr<const nlohmann::json>(json_, &m), parameters);
        } catch (const zunto::json::unmarshal_error& e) {
          throw zunto::json::unmarshal_error(fmt::format("`{0}` entry error: {1}", key, e.what()));
        }
      }
    }
  }

  if (manipulators_.empty()) {
    throw zunto::json::unmarshal_error(
        fmt::format("`manipulators` is missing or empty in {0}", zunto::json::dump_for_error_message(*json_)));
  }

  if (description_->empty()) {
    for (const auto& m : manipulators_) {
      if (!m.get_description().empty()) {
        description_ = &m.get_description();
        break;
      }
    }
  }
}

} // namespace hbd::core_configuration::details

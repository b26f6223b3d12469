#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace hbd::core_configuration::details {

// One entry of a "rules" array: enough structure to list, describe, reorder and copy rules.
// What a manipulator does is checked elsewhere. A rule's JSON never changes once read, so copies of
// a rule, and its manipulators and conditions, share that one value instead of copying it.
class complex_modifications_rule final {
public:
  class manipulator final {
  public:
    class condition final {
    public:
      explicit condition(const nlohmann::json& json);
      // A part of a value that `json` keeps alive.
      explicit condition(std::shared_ptr<const nlohmann::json> json) : json_(std::move(json)) {}

      const nlohmann::json& get_json() const { return *json_; }

    private:
      std::shared_ptr<const nlohmann::json> json_;
    };

    // Throws zunto::json::unmarshal_error.
    manipulator(const nlohmann::json& json, const complex_modifications_parameters& parameters);
    manipulator(std::shared_ptr<const nlohmann::json> json, const complex_modifications_parameters& parameters);

    const nlohmann::json& get_json() const { return *json_; }
    const std::vector<condition>& get_conditions() const { return conditions_; }
    // The rule's parameters with the manipulator's own "parameters" merged over them.
    const complex_modifications_parameters& get_parameters() const { return parameters_; }
    const std::string& get_description() const { return *description_; }

  private:
    std::shared_ptr<const nlohmann::json> json_;
    std::vector<condition> conditions_;
    complex_modifications_parameters parameters_;
    // Into json_, or the empty text.
    const std::string* description_;
  };

  // Throws zunto::json::unmarshal_error, also when there is no manipulator.
  complex_modifications_rule(const nlohmann::json& json, const complex_modifications_parameters& parameters);
  // Takes the value over instead of copying it.
  complex_modifications_rule(nlohmann::json&& json, const complex_modifications_parameters& parameters);

  // The value the rule was read from; this is what is saved.
  const nlohmann::json& get_json() const { return *json_; }
  // How deep that value nests (zunto::json::nesting_depth), known once read since it never changes.
  std::size_t get_json_depth() const { return json_depth_; }
  const std::vector<manipulator>& get_manipulators() const { return manipulators_; }
  // The rule's own description, or else the first one among its manipulators. The text lives in
  // the shared value, so it stays where it is while rules are copied, moved and reordered.
  const std::string& get_description() const { return *description_; }

private:
  std::shared_ptr<const nlohmann::json> json_;
  std::size_t json_depth_;
  std::vector<manipulator> manipulators_;
  // Into json_, or the empty text.
  const std::string* description_;
};

} // namespace hbd::core_configuration::details

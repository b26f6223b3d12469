#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"
#include "hbd/core_configuration/details/complex_modifications_rule.hpp"
#include "zunto/json/indented_writer.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <vector>

namespace hbd::core_configuration::details {

// A profile's "complex_modifications": its parameters and its rules in file order.
class complex_modifications final {
public:
  complex_modifications();
  // Throws zunto::json::unmarshal_error when the value is not an object or a rule fails.
  explicit complex_modifications(const nlohmann::json& json);
  // Takes the rules over instead of copying them.
  explicit complex_modifications(nlohmann::json&& json);

  nlohmann::json to_json() const;
  // Writes the text of to_json() without building it.
  void write_json(zunto::json::indented_writer& writer) const;

  const complex_modifications_parameters& get_parameters() const { return parameters_; }
  complex_modifications_parameters& get_parameters() { return parameters_; }
  const std::vector<complex_modifications_rule>& get_rules() const { return rules_; }
  std::vector<complex_modifications_rule>& get_rules() { return rules_; }

  void replace_rule(std::size_t index, const complex_modifications_rule& rule);
  void erase_rule(std::size_t index);
  // Moves the rule at source to just before the rule standing at destination; a destination
  // past the end means the end.
  void move_rule(std::size_t source_index, std::size_t destination_index);

private:
  nlohmann::json json_;
  complex_modifications_parameters parameters_;
  std::vector<complex_modifications_rule> rules_;
};

} // namespace hbd::core_configuration::details

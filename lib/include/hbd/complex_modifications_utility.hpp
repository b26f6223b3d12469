#pragma once

#include "hbd/core_configuration/details/complex_modifications_rule.hpp"

#include <string>
#include <vector>

// Checks what the manipulators of a rule mean, and offers a rule to start from.
namespace hbd::complex_modifications_utility {

// One "`{description}` error: {message}" per manipulator that does not build or whose conditions
// do not; empty for a valid rule.
std::vector<std::string> lint_rule(const core_configuration::details::complex_modifications_rule& rule);

// The sample rule as indented JSON text.
std::string get_new_rule_json_string();

} // namespace hbd::complex_modifications_utility

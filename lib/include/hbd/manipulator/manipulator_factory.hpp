#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"
#include "hbd/manipulator/conditions/base.hpp"
#include "hbd/manipulator/manipulators/base.hpp"

#include <nlohmann/json_fwd.hpp>

#include <memory>

// Builds the manipulator or condition that a rule's JSON object names by its "type".
namespace hbd::manipulator::manipulator_factory {

// Throws zunto::json::unmarshal_error (and the JSON library's type error for a type that is no
// string).
std::shared_ptr<manipulators::base> make_manipulator(
    const nlohmann::json& json, const core_configuration::details::complex_modifications_parameters& parameters);

// Throws zunto::json::unmarshal_error.
std::shared_ptr<conditions::base> make_condition(const nlohmann::json& json);

} // namespace hbd::manipulator::manipulator_factory

#pragma once

#include "hbd/manipulator/modifier_definition.hpp"

#include <nlohmann/json_fwd.hpp>

#include <set>

namespace hbd::manipulator {

// The "modifiers" of a "from": those that must be held and those that may be.
class from_modifiers_definition {
public:
  virtual ~from_modifiers_definition() = default;

  const std::set<modifier_definition::modifier>& get_mandatory_modifiers() const { return mandatory_; }
  const std::set<modifier_definition::modifier>& get_optional_modifiers() const { return optional_; }

  friend void from_json(const nlohmann::json& json, from_modifiers_definition& value);

private:
  std::set<modifier_definition::modifier> mandatory_;
  std::set<modifier_definition::modifier> optional_;
};

// Throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, from_modifiers_definition& value);

} // namespace hbd::manipulator

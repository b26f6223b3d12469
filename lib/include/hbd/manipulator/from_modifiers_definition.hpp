#pragma once

#include "hbd/manipulator/modifier_definition.hpp"
#include "hbd/modifier_flag_manager.hpp"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <set>
#include <utility>

namespace hbd::manipulator {

// The "modifiers" of a "from": those that must be held and those that may be.
class from_modifiers_definition {
public:
  virtual ~from_modifiers_definition() = default;

  const std::set<modifier_definition::modifier>& get_mandatory_modifiers() const { return mandatory_; }
  const std::set<modifier_definition::modifier>& get_optional_modifiers() const { return optional_; }

  // The pressed flags that satisfy the mandatory modifiers, or null when the held modifiers do not
  // match (a mandatory one missing, or a modifier held that is neither mandatory nor optional).
  std::shared_ptr<std::set<modifier_flag>> test_modifiers(const modifier_flag_manager& manager) const;

  // The first pressed flag of the modifier; any matches with the flag zero.
  static std::pair<bool, modifier_flag> test_modifier(const modifier_flag_manager& manager,
                                                      modifier_definition::modifier modifier);

  friend void from_json(const nlohmann::json& json, from_modifiers_definition& value);

private:
  std::set<modifier_definition::modifier> mandatory_;
  std::set<modifier_definition::modifier> optional_;
};

// Throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, from_modifiers_definition& value);

} // namespace hbd::manipulator

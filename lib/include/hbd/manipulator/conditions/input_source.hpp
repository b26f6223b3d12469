#pragma once

#include "hbd/manipulator/conditions/base.hpp"
#include "zunto/osx/input_source/properties.hpp"
#include "zunto/osx/input_source_selector/specifier.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace hbd::manipulator::conditions {

// Whether the current input source is selected by one of the specifiers. Remembers the last
// answer, so evaluate one object from one thread at a time.
class input_source final : public base {
public:
  enum class type : std::uint32_t {
    input_source_if,
    input_source_unless,
  };

  // Throws zunto::json::unmarshal_error.
  explicit input_source(const nlohmann::json& json);

  bool is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const override;

private:
  type type_ = type::input_source_if;
  std::vector<zunto::osx::input_source_selector::specifier> input_sources_;
  mutable std::optional<std::pair<zunto::osx::input_source::properties, bool>> cache_;
};

} // namespace hbd::manipulator::conditions

#pragma once

#include "hbd/manipulator/conditions/base.hpp"
#include "zunto/bounded_regex.hpp"
#include "zunto/osx/frontmost_application_monitor/application.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace hbd::manipulator::conditions {

// Whether the frontmost application's bundle identifier or path matches a pattern. Remembers the
// last answer, so evaluate one object from one thread at a time.
class frontmost_application final : public base {
public:
  enum class type : std::uint32_t {
    frontmost_application_if,
    frontmost_application_unless,
  };

  // Throws zunto::json::unmarshal_error.
  explicit frontmost_application(const nlohmann::json& json);

  bool is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const override;

private:
  type type_ = type::frontmost_application_if;
  std::vector<zunto::bounded_regex> bundle_identifiers_;
  std::vector<zunto::bounded_regex> file_paths_;
  mutable std::optional<std::pair<zunto::osx::frontmost_application_monitor::application, bool>> cache_;
};

} // namespace hbd::manipulator::conditions

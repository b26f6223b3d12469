#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zunto::osx::input_source {

// The description of one keyboard input source.
struct properties {
  std::optional<std::string> input_source_id;
  std::optional<std::string> localized_name;
  std::optional<std::string> input_mode_id;
  std::vector<std::string> languages;
  // The language that selectors test.
  std::optional<std::string> first_language;

  bool operator==(const properties&) const = default;
};

} // namespace zunto::osx::input_source

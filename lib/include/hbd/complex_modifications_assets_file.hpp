#pragma once

#include "hbd/core_configuration/details/complex_modifications_rule.hpp"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace hbd {

// One file of ready-made rules: a title and a list of rules.
class complex_modifications_assets_file final {
public:
  // Asset files are small; anything near this is not one, and is refused before it is read.
  static constexpr std::size_t maximum_file_size = std::size_t{32} * 1024 * 1024;

  // Reads the file. Throws std::exception subclasses: a file that cannot be opened, is not a
  // regular file or is too large, does not parse, or holds a member of the wrong kind or a bad rule.
  explicit complex_modifications_assets_file(const std::string& file_path);

  const std::string& get_file_path() const { return file_path_; }
  const std::string& get_title() const { return title_; }
  const std::vector<core_configuration::details::complex_modifications_rule>& get_rules() const { return rules_; }

  // The file's modification time as nanoseconds since the Unix epoch; empty (and logged) on error.
  std::optional<std::chrono::nanoseconds> last_write_time() const;

  // Whether the file lies inside the user's assets folder, compared component by component;
  // false while that folder is unknown.
  bool user_file() const;

private:
  std::string file_path_;
  std::string title_;
  std::vector<core_configuration::details::complex_modifications_rule> rules_;
};

} // namespace hbd

#pragma once

#include "zunto/bounded_regex.hpp"
#include "zunto/osx/input_source/properties.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace zunto::osx::input_source_selector {

// Selects input sources by regular expressions on the language, the input source id and the input
// mode id; each expression is compiled once, when it is set.
class specifier final {
public:
  // Each compiles a present string; throws std::regex_error, bounded_regex::pattern_too_long or
  // bounded_regex::back_reference.
  specifier& set_language(const std::optional<std::string>& value);
  specifier& set_input_source_id(const std::optional<std::string>& value);
  specifier& set_input_mode_id(const std::optional<std::string>& value);

  const std::optional<std::string>& get_language() const { return language_; }
  const std::optional<std::string>& get_input_source_id() const { return input_source_id_; }
  const std::optional<std::string>& get_input_mode_id() const { return input_mode_id_; }

  // Every present expression must be found in its property; no expression matches everything.
  bool test(const input_source::properties& properties) const;

  // The strings decide; the compiled expressions follow them.
  bool operator==(const specifier& other) const;

private:
  std::optional<std::string> language_;
  std::optional<std::string> input_source_id_;
  std::optional<std::string> input_mode_id_;
  std::optional<bounded_regex> language_regex_;
  std::optional<bounded_regex> input_source_id_regex_;
  std::optional<bounded_regex> input_mode_id_regex_;
};

// Throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, specifier& value);

} // namespace zunto::osx::input_source_selector

template <>
struct std::hash<zunto::osx::input_source_selector::specifier> {
  std::size_t operator()(const zunto::osx::input_source_selector::specifier& value) const noexcept;
};

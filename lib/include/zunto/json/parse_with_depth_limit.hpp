#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zunto::json {

// Thrown when a text nests arrays and objects deeper than allowed.
class depth_error : public std::runtime_error {
public:
  explicit depth_error(const std::string& message) : std::runtime_error(message) {}
};

// Far deeper than any configuration or rule, yet shallow enough that copying, comparing and
// dumping the value (all recursive in the JSON library) stay well within a thread's stack.
inline constexpr std::size_t default_max_depth = 512;

// Parses a whole text with C-style comments skipped, refusing values nested deeper than
// max_depth arrays and objects before they are built. Throws nlohmann::json::parse_error for bad
// syntax (the message json::parse gives) and for a number beyond the range of a double, and
// depth_error for too deep a value.
nlohmann::json parse_with_depth_limit(std::string_view text, std::size_t max_depth = default_max_depth);
// The same, also giving how deep the value nests: 0 for a number, string, boolean or null, 1 for
// an array or object of those, and so on.
nlohmann::json parse_with_depth_limit(std::string_view text, std::size_t max_depth, std::size_t& depth);

// How deep a value nests, counted as above. Walks the value without recursion.
std::size_t nesting_depth(const nlohmann::json& json);

} // namespace zunto::json

#pragma once

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace hbd::manipulator::conditions::condition_reading {

// Walks a condition object in key order: "type" is matched against the class's names (the index
// of the match is handed to `set_type`), "description" is ignored, and every other key goes to
// `handle`, which returns false for a key the class does not know. Throws
// zunto::json::unmarshal_error.
void read(const nlohmann::json& json, const std::string_view* type_names, std::size_t type_count,
          const std::function<void(std::size_t)>& set_type,
          const std::function<bool(const std::string&, const nlohmann::json&)>& handle);

template <std::size_t N>
void read(const nlohmann::json& json, const std::array<std::string_view, N>& type_names,
          const std::function<void(std::size_t)>& set_type,
          const std::function<bool(const std::string&, const nlohmann::json&)>& handle) {
  read(json, type_names.data(), N, set_type, handle);
}

// "`{name}` is not found in `{dump}`".
[[noreturn]] void throw_not_found(std::string_view name, const nlohmann::json& json);

} // namespace hbd::manipulator::conditions::condition_reading

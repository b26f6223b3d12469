#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace zunto::json {

// Compact JSON text (non-ASCII kept as UTF-8) cut to 256 bytes, ending in "..." when cut.
// A string holding invalid UTF-8 makes the dump throw nlohmann::json::type_error.
std::string dump_for_error_message(const nlohmann::json& json);

} // namespace zunto::json

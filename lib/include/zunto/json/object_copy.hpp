#pragma once

#include <nlohmann/json.hpp>

namespace zunto::json {

// The base that a record writes its members over: a copy of the value it was read from when
// that is an object, otherwise an empty object (member access on other kinds would throw).
nlohmann::json object_copy(const nlohmann::json& json);

} // namespace zunto::json

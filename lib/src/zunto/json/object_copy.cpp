#include "zunto/json/object_copy.hpp"

namespace zunto::json {

nlohmann::json object_copy(const nlohmann::json& json) { return json.is_object() ? json : nlohmann::json::object(); }

} // namespace zunto::json

#include "zunto/json/dump_for_error_message.hpp"

#include "zunto/string/truncate.hpp"

namespace zunto::json {

std::string dump_for_error_message(const nlohmann::json& json) {
  return zunto::string::truncate(json.dump(-1, ' ', false, nlohmann::json::error_handler_t::strict), 256, "...");
}

} // namespace zunto::json

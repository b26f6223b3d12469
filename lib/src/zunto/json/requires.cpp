#include "zunto/json/requires.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <string>

namespace zunto::json {

namespace {

void require(bool accepted, const nlohmann::json& json, std::string_view name, std::string_view kind) {
  if (accepted) {
    return;
  }
  std::string message(name);
  message += " must be ";
  message += kind;
  message += ", but is `";
  message += dump_for_error_message(json);
  message += '`';
  throw unmarshal_error(message);
}

} // namespace

void requires_object(const nlohmann::json& json, std::string_view name) {
  require(json.is_object(), json, name, "object");
}

void requires_array(const nlohmann::json& json, std::string_view name) {
  require(json.is_array(), json, name, "array");
}

void requires_string(const nlohmann::json& json, std::string_view name) {
  require(json.is_string(), json, name, "string");
}

void requires_boolean(const nlohmann::json& json, std::string_view name) {
  require(json.is_boolean(), json, name, "boolean");
}

void requires_number(const nlohmann::json& json, std::string_view name) {
  require(json.is_number(), json, name, "number");
}

} // namespace zunto::json

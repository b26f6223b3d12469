#include "zunto/json/requires.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <string>

namespace zunto::json {

namespace {

[[noreturn]] void throw_kind_error(const nlohmann::json& json, std::string_view name, std::string_view kind) {
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
  if (!json.is_object()) {
    throw_kind_error(json, name, "object");
  }
}

void requires_array(const nlohmann::json& json, std::string_view name) {
  if (!json.is_array()) {
    throw_kind_error(json, name, "array");
  }
}

void requires_string(const nlohmann::json& json, std::string_view name) {
  if (!json.is_string()) {
    throw_kind_error(json, name, "string");
  }
}

void requires_boolean(const nlohmann::json& json, std::string_view name) {
  if (!json.is_boolean()) {
    throw_kind_error(json, name, "boolean");
  }
}

void requires_number(const nlohmann::json& json, std::string_view name) {
  if (!json.is_number()) {
    throw_kind_error(json, name, "number");
  }
}

} // namespace zunto::json

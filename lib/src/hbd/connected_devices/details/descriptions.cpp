#include "hbd/connected_devices/details/descriptions.hpp"

#include <utility>

namespace hbd::connected_devices::details {
namespace {

std::string string_or_empty(const nlohmann::json& json, const char* key) {
  auto it = json.find(key);
  return it != json.end() && it->is_string() ? it->get<std::string>() : std::string();
}

} // namespace

descriptions::descriptions(std::string manufacturer, std::string product, std::string transport)
    : manufacturer_(std::move(manufacturer)), product_(std::move(product)), transport_(std::move(transport)) {}

descriptions descriptions::make_from_json(const nlohmann::json& json) {
  if (!json.is_object()) {
    return {};
  }
  return {string_or_empty(json, "manufacturer"), string_or_empty(json, "product"), string_or_empty(json, "transport")};
}

} // namespace hbd::connected_devices::details

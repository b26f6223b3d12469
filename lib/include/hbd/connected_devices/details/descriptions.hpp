#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace hbd::connected_devices::details {

// The texts a device describes itself with.
class descriptions final {
public:
  descriptions() = default;
  descriptions(std::string manufacturer, std::string product, std::string transport);

  // Each text only when present and a string; never throws.
  static descriptions make_from_json(const nlohmann::json& json);

  const std::string& get_manufacturer() const { return manufacturer_; }
  const std::string& get_product() const { return product_; }
  const std::string& get_transport() const { return transport_; }

  bool operator==(const descriptions&) const = default;

private:
  std::string manufacturer_;
  std::string product_;
  std::string transport_;
};

} // namespace hbd::connected_devices::details

#pragma once

#include "hbd/device_properties.hpp"
#include "hbd/manipulator/conditions/base.hpp"
#include "zunto/hid/product_id.hpp"
#include "zunto/hid/vendor_id.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hbd::manipulator::conditions {

// Whether the entry's device, or any device, is one of the identified ones.
class device final : public base {
public:
  enum class type : std::uint32_t {
    device_if,
    device_unless,
    device_exists_if,
    device_exists_unless,
  };

  // One entry of "identifiers": every field set must agree with the device.
  struct definition {
    std::optional<zunto::hid::vendor_id::value_t> vendor_id;
    std::optional<zunto::hid::product_id::value_t> product_id;
    std::optional<std::int64_t> location_id;
    std::optional<std::string> device_address;
    std::optional<bool> is_keyboard;
    std::optional<bool> is_pointing_device;
    std::optional<bool> is_game_pad;
    std::optional<bool> is_touch_bar;
    std::optional<bool> is_built_in_keyboard;

    bool valid() const;
    bool fulfilled(const device_properties& properties, const manipulator_environment& environment) const;
  };

  // Throws zunto::json::unmarshal_error.
  explicit device(const nlohmann::json& json);

  bool is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const override;

  type get_type() const { return type_; }
  const std::vector<definition>& get_definitions() const { return definitions_; }

  // Appends the valid definitions of one "identifiers" array.
  void handle_identifiers_json(const nlohmann::json& json);

private:
  type type_ = type::device_if;
  std::vector<definition> definitions_;
};

} // namespace hbd::manipulator::conditions

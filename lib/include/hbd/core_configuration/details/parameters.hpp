#pragma once

#include <nlohmann/json.hpp>

#include <chrono>

namespace hbd::core_configuration::details {

// A profile's "parameters" object.
class parameters final {
public:
  parameters() = default;

  const nlohmann::json& get_json() const { return json_; }
  void set_json(const nlohmann::json& json) { json_ = json; }

  std::chrono::milliseconds get_delay_milliseconds_before_open_device() const {
    return delay_milliseconds_before_open_device_;
  }
  void set_delay_milliseconds_before_open_device(std::chrono::milliseconds value) {
    delay_milliseconds_before_open_device_ = value;
  }

private:
  nlohmann::json json_ = nlohmann::json::object();
  std::chrono::milliseconds delay_milliseconds_before_open_device_{1000};
};

// Reads over the record's current values; no range check, so zero and negative delays stay.
// Throws zunto::json::unmarshal_error, and then leaves the record's JSON as it was.
void from_json(const nlohmann::json& json, parameters& value);
void to_json(nlohmann::json& json, const parameters& value);

} // namespace hbd::core_configuration::details

#pragma once

#include "hbd/connected_devices/details/device.hpp"

#include <filesystem>
#include <vector>

namespace hbd::connected_devices {

// The list of devices the grabber daemon reports in its devices file.
class connected_devices final {
public:
  connected_devices() = default;
  // Reads the file (comments allowed); never throws. A file that cannot be opened leaves the list
  // empty and not loaded; one that does not parse is logged ("parse error in {0}: {1}"), stays not
  // loaded and keeps the devices read before the error. A top level other than an array reads as
  // an empty, loaded list.
  explicit connected_devices(const std::filesystem::path& file_path);

  bool is_loaded() const { return loaded_; }
  const std::vector<details::device>& get_devices() const { return devices_; }

private:
  bool loaded_ = false;
  std::vector<details::device> devices_;
};

} // namespace hbd::connected_devices

#include "hbd/connected_devices/connected_devices.hpp"

#include "hbd/logger.hpp"
#include "zunto/filesystem/filesystem.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <exception>
#include <string>

namespace hbd::connected_devices {

connected_devices::connected_devices(const std::filesystem::path& file_path) {
  // Read on the dispatcher thread: a FIFO or a device at the path must not hold it up.
  const auto text = zunto::filesystem::read_regular_file(file_path, zunto::osx::file_monitor::maximum_file_size);
  if (!text) {
    return;
  }
  try {
    // Outside input: a value nested without end must not exhaust the stack.
    const auto json = zunto::json::parse_with_depth_limit(*text);
    if (json.is_array()) {
      for (const auto& element : json) {
        devices_.push_back(details::device::make_from_json(element));
      }
    }
    loaded_ = true;
  } catch (const std::exception& e) {
    logger::get_logger()->error("parse error in {0}: {1}", file_path.string(), e.what());
  }
}

} // namespace hbd::connected_devices

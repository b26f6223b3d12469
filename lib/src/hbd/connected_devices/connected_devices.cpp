#include "hbd/connected_devices/connected_devices.hpp"

#include "hbd/logger.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"

#include <exception>
#include <fstream>
#include <iterator>
#include <string>

namespace hbd::connected_devices {

connected_devices::connected_devices(const std::filesystem::path& file_path) {
  std::ifstream input(file_path);
  if (!input) {
    return;
  }
  try {
    // Outside input: a value nested without end must not exhaust the stack.
    const std::string text{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
    const auto json = zunto::json::parse_with_depth_limit(text);
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

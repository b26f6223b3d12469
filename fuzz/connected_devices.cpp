// Reads arbitrary bytes as the grabber's devices file and copies the list, as the connected
// devices monitor hands it to the application.

#include "fuzz_support.hpp"
#include "hbd/connected_devices/connected_devices.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hbd_fuzz::input_file file("hobbard_grabber_devices.json");
  const hbd::connected_devices::connected_devices list(file.write(data, size));
  const auto copy = list;
  for (const auto& device : copy.get_devices()) {
    (void)device.get_descriptions().get_product().size();
    (void)device.get_identifiers().get_device_address().size();
  }
  return 0;
}

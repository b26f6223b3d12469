// Reads arbitrary bytes as the user's configuration file, then edits and serialises the model as
// the C interface and a save would.

#include "fuzz_support.hpp"
#include "hbd/core_configuration/core_configuration.hpp"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hbd_fuzz::input_file file("hobbard.json");
  const auto& path = file.write(data, size);

  hbd::core_configuration::core_configuration configuration(path, ::geteuid());
  auto json = configuration.to_json();
  (void)json.dump(4, ' ', false, nlohmann::json::error_handler_t::ignore);

  auto& profile = configuration.get_selected_profile();
  (void)profile.get_device_ignore({});
  profile.set_device_mouse_flip_x({}, true);
  configuration.push_back_profile();
  configuration.select_profile(configuration.get_profiles().size() - 1);
  configuration.erase_profile(0);
  (void)configuration.to_json().dump();
  return 0;
}

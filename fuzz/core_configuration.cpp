// Reads arbitrary bytes as the user's configuration file. Whatever loads must save and load again
// into an equal model; then the model is edited and serialised as the C interface would.

#include "fuzz_support.hpp"
#include "hbd/core_configuration/core_configuration.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"

#include <nlohmann/json.hpp>

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

// The input is written where the user configuration file lives, so saves replace it in place.
struct environment final {
  environment() : file("hobbard/hobbard.json") {
    // Before the first user path is computed: they are kept for the life of the process.
    ::setenv("XDG_CONFIG_HOME", file.directory().c_str(), 1);
  }

  hbd_fuzz::input_file file;
  hbd::dispatcher_utility::scoped_dispatcher_manager manager;
};

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "round trip failed: %s\n", what);
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static environment environment;
  const auto& path = environment.file.write(data, size);

  hbd::core_configuration::core_configuration configuration(path, ::geteuid());

  // Most inputs do not load: only those that do are saved, so only they need the value and its text.
  if (configuration.is_loaded()) {
    // Each to_json() and dump is a large part of a run: every one is made once and reused.
    const auto json = configuration.to_json();
    const auto text = json.dump(4, ' ', false, nlohmann::json::error_handler_t::ignore);
    try {
      configuration.sync_save_to_file();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      fail("the save threw");
    }
    // Written record by record, the text must be the dump of to_json().
    if (hbd_fuzz::read_whole_file(path) != text) {
      fail("the saved text is not the dump of to_json()");
    }
    hbd::core_configuration::core_configuration reloaded(path, ::geteuid());
    if (!reloaded.is_loaded()) {
      fail("the saved file does not load");
    }
    if (reloaded.to_json() != json) {
      fail("the saved file loads into another model");
    }
  }

  auto& profile = configuration.get_selected_profile();
  (void)profile.get_device_ignore({});
  profile.set_device_mouse_flip_x({}, true);
  configuration.push_back_profile();
  configuration.select_profile(configuration.get_profiles().size() - 1);
  configuration.erase_profile(0);
  (void)configuration.to_json().dump();
  return 0;
}

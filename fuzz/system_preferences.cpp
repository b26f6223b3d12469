// Reads arbitrary bytes as the keyboard-type preferences store and as the global one, as each poll
// of the system preferences monitor does.

#include "fuzz_support.hpp"
#include "platform/preferences/preferences.hpp"
#include "zunto/osx/system_preferences/properties.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hbd_fuzz::input_file file("com.apple.keyboardtype.json");
  static const bool folder_set = [] {
    // Both stores the properties read are links to the one input file.
    const auto folder = std::filesystem::path(file.write(nullptr, 0)).parent_path() / "preferences";
    platform::preferences::set_folder(folder);
    for (const auto& [domain, user, host] :
         {std::tuple{"com.apple.keyboardtype", platform::preferences::user::any, platform::preferences::host::current},
          std::tuple{"Apple Global Domain", platform::preferences::user::current, platform::preferences::host::any}}) {
      const auto path = platform::preferences::get_store_path(domain, user, host);
      std::filesystem::create_directories(path.parent_path());
      std::filesystem::create_symlink(file.write(nullptr, 0), path);
    }
    return true;
  }();
  (void)folder_set;
  file.write(data, size);
  zunto::osx::system_preferences::properties properties;
  properties.update();
  (void)std::hash<zunto::osx::system_preferences::properties>{}(properties);
  return 0;
}

// Reads arbitrary bytes as a complex-modification asset file and walks what it holds.

#include "fuzz_support.hpp"
#include "hbd/complex_modifications_assets_file.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hbd_fuzz::input_file file("asset.json");
  const auto& path = file.write(data, size);

  try {
    const hbd::complex_modifications_assets_file asset(path);
    std::size_t length = asset.get_title().size();
    for (const auto& rule : asset.get_rules()) {
      length += rule.get_description().size();
      length += rule.get_json().dump().size();
    }
    (void)length;
    (void)asset.user_file();
  } catch (const std::exception&) {
    // Refusing bad input with an exception is the reader's job.
  }
  return 0;
}

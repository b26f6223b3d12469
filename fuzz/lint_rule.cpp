// Validates arbitrary text as a complex-modification rule, the way the C interface checks a rule
// a user typed, with the library's dispatchers running so that manipulators attach and detach.

#include "hbd/complex_modifications_utility.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hbd::dispatcher_utility::scoped_dispatcher_manager manager;

  nlohmann::json json;
  try {
    json = zunto::json::parse_with_depth_limit(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const nlohmann::json::parse_error&) {
    // Bad syntax, a number beyond the range of a double included: any other exception is a fault.
    return 0;
  } catch (const zunto::json::depth_error&) {
    return 0;
  }

  const hbd::core_configuration::details::complex_modifications_parameters parameters;
  try {
    const hbd::core_configuration::details::complex_modifications_rule rule(json, parameters);
    for (const auto& message : hbd::complex_modifications_utility::lint_rule(rule)) {
      (void)message.size();
    }
  } catch (const zunto::json::unmarshal_error&) {
    // Not a rule at all; the C interface reports it the same way.
  }
  return 0;
}

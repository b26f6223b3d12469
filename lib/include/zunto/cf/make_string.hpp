#pragma once

#include "platform/cf/string.hpp"

#include <optional>
#include <string>

namespace zunto::cf {

// The string's text as UTF-8, up to its first zero character; no value for a null string or one
// that cannot be converted.
std::optional<std::string> make_string(platform::cf::string_ref string);

} // namespace zunto::cf

#pragma once

#include "platform/cf/string.hpp"
#include "zunto/cf/cf_ptr.hpp"

#include <string_view>

namespace zunto::cf {

// A platform string holding the text; empty when the text is not valid UTF-8.
cf_ptr<platform::cf::string_ref> make_cf_string(std::string_view text);

} // namespace zunto::cf

#include "zunto/cf/make_cf_string.hpp"

namespace zunto::cf {

cf_ptr<platform::cf::string_ref> make_cf_string(std::string_view text) {
  platform::cf::string_ref string = platform::cf::string_create_with_utf8(text);
  cf_ptr<platform::cf::string_ref> result(string);
  platform::cf::release(string);
  return result;
}

} // namespace zunto::cf

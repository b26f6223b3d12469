#include "zunto/string/trim.hpp"

#include <string_view>

namespace zunto::string {

void trim(std::string& text) {
  // Spelled out rather than std::isspace: no locale, and no undefined behaviour for negative chars.
  constexpr std::string_view white_space = " \t\n\v\f\r";
  const auto last = text.find_last_not_of(white_space);
  if (last == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(last + 1);
  text.erase(0, text.find_first_not_of(white_space));
}

} // namespace zunto::string

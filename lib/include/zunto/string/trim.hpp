#pragma once

#include <string>

namespace zunto::string {

// Removes leading and trailing ASCII white space (blank, \t, \n, \v, \f, \r) in place; bytes of
// 0x80 and above are never white space.
void trim(std::string& text);

} // namespace zunto::string

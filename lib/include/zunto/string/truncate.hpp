#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zunto::string {

// Invalid UTF-8 sequences become U+FFFD, then the text is cut to at most length bytes on a
// character boundary; the placeholder ends the result when something was cut and it is shorter
// than length (it counts against length).
std::string truncate(std::string_view text, std::size_t length, std::string_view placeholder);

// The text up to, not including, its first byte that is not part of a valid UTF-8 sequence.
std::string trim_invalid_right_copy(std::string_view text);

} // namespace zunto::string

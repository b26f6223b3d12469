#pragma once

#include <cstddef>
#include <string_view>

namespace libhbd {

// Copies as much of the text as fits, and a NUL, into the caller's buffer (strlcpy); nothing for
// a null buffer or a length of 0. Returns the text's full length.
std::size_t copy_to_buffer(std::string_view text, char* buffer, std::size_t length) noexcept;

// Copies the text and its NUL only when both fit; otherwise returns false and leaves the buffer as
// it was.
bool copy_whole_to_buffer(std::string_view text, char* buffer, std::size_t length) noexcept;

} // namespace libhbd

#pragma once

#include "platform/cf/type.hpp"

#include <cstddef>
#include <string_view>

// Immutable text objects. A string keeps the form it was made from: one made from UTF-8 hands out
// a direct pointer to its bytes, one made from UTF-16 units has no such pointer and must be copied
// out through string_get_c_string.
namespace platform::cf {

class string : public type {
protected:
  string() = default;
};
using string_ref = const string*;

enum class string_encoding {
  utf8,
};

// Returned where a size cannot be given.
inline constexpr std::ptrdiff_t not_found = -1;

// Both return a new object with one reference for the caller.
// Null when the bytes are not valid UTF-8.
string_ref string_create_with_utf8(std::string_view text);
// Unpaired surrogates are kept as they are; such a string cannot be converted to UTF-8.
string_ref string_create_with_utf16(std::u16string_view characters);

// The stored bytes, zero-terminated, when the string is held in that encoding; otherwise null.
const char* string_get_c_string_ptr(string_ref string, string_encoding encoding);

// The length in UTF-16 units (0 for null).
std::ptrdiff_t string_get_length(string_ref string);

// The most bytes that `length` UTF-16 units can take in the encoding, without the terminating
// zero; not_found when the size does not fit.
std::ptrdiff_t string_get_maximum_size_for_encoding(std::ptrdiff_t length, string_encoding encoding);

// Writes the text and a terminating zero into buffer. False, with nothing promised about the
// buffer, when the string is null, cannot be converted or does not fit in buffer_size bytes.
bool string_get_c_string(string_ref string, char* buffer, std::ptrdiff_t buffer_size, string_encoding encoding);

} // namespace platform::cf

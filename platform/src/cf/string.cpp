#include "platform/cf/string.hpp"

#include <utf8cpp/utf8.h>

#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

namespace platform::cf {
namespace {

class stored_string final : public string {
public:
  explicit stored_string(std::string utf8) : utf8_(std::move(utf8)) {}
  explicit stored_string(std::u16string utf16) : utf16_(std::move(utf16)) {}

  const std::optional<std::string>& utf8() const { return utf8_; }
  const std::optional<std::u16string>& utf16() const { return utf16_; }

private:
  // Exactly one of the two is set: the form the string was made from.
  std::optional<std::string> utf8_;
  std::optional<std::u16string> utf16_;
};

const stored_string* stored(string_ref string) { return static_cast<const stored_string*>(string); }

std::optional<std::string> to_utf8(const stored_string& string) {
  if (string.utf8()) {
    return string.utf8();
  }
  std::string result;
  try {
    utf8::utf16to8(string.utf16()->begin(), string.utf16()->end(), std::back_inserter(result));
  } catch (const utf8::exception&) {
    return std::nullopt;
  }
  return result;
}

} // namespace

string_ref string_create_with_utf8(std::string_view text) {
  if (!utf8::is_valid(text.begin(), text.end())) {
    return nullptr;
  }
  return new stored_string(std::string(text));
}

string_ref string_create_with_utf16(std::u16string_view characters) {
  return new stored_string(std::u16string(characters));
}

const char* string_get_c_string_ptr(string_ref string, string_encoding encoding) {
  if (string == nullptr || encoding != string_encoding::utf8 || !stored(string)->utf8()) {
    return nullptr;
  }
  return stored(string)->utf8()->c_str();
}

std::ptrdiff_t string_get_length(string_ref string) {
  if (string == nullptr) {
    return 0;
  }
  if (const auto& utf16 = stored(string)->utf16()) {
    return static_cast<std::ptrdiff_t>(utf16->size());
  }
  const std::string& utf8 = *stored(string)->utf8();
  std::ptrdiff_t length = 0;
  for (auto it = utf8.begin(); it != utf8.end();) {
    // Code points beyond the basic plane take a surrogate pair.
    length += utf8::next(it, utf8.end()) > 0xffff ? 2 : 1;
  }
  return length;
}

std::ptrdiff_t string_get_maximum_size_for_encoding(std::ptrdiff_t length, string_encoding encoding) {
  // One UTF-16 unit never needs more than three UTF-8 bytes (a pair needs four for two units).
  constexpr std::ptrdiff_t bytes_per_unit = 3;
  if (encoding != string_encoding::utf8 || length < 0 ||
      length > std::numeric_limits<std::ptrdiff_t>::max() / bytes_per_unit) {
    return not_found;
  }
  return length * bytes_per_unit;
}

bool string_get_c_string(string_ref string, char* buffer, std::ptrdiff_t buffer_size, string_encoding encoding) {
  if (string == nullptr || buffer == nullptr || encoding != string_encoding::utf8) {
    return false;
  }
  const std::optional<std::string> text = to_utf8(*stored(string));
  if (!text || buffer_size < 0 || text->size() >= static_cast<std::size_t>(buffer_size)) {
    return false;
  }
  std::memcpy(buffer, text->data(), text->size());
  buffer[text->size()] = '\0';
  return true;
}

} // namespace platform::cf

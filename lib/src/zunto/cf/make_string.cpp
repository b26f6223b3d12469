#include "zunto/cf/make_string.hpp"

#include <vector>

namespace zunto::cf {

std::optional<std::string> make_string(platform::cf::string_ref string) {
  using platform::cf::string_encoding;

  if (string == nullptr) {
    return std::nullopt;
  }
  if (const char* pointer = platform::cf::string_get_c_string_ptr(string, string_encoding::utf8)) {
    return std::string(pointer);
  }

  const auto maximum_size = platform::cf::string_get_maximum_size_for_encoding(platform::cf::string_get_length(string),
                                                                               string_encoding::utf8);
  if (maximum_size < 0) {
    return std::nullopt;
  }
  std::vector<char> buffer(static_cast<std::size_t>(maximum_size) + 1, '\0');
  if (!platform::cf::string_get_c_string(string, buffer.data(), static_cast<std::ptrdiff_t>(buffer.size()),
                                         string_encoding::utf8)) {
    return std::nullopt;
  }
  return std::string(buffer.data());
}

} // namespace zunto::cf

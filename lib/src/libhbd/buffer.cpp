#include "buffer.hpp"

#include <algorithm>

namespace libhbd {

std::size_t copy_to_buffer(std::string_view text, char* buffer, std::size_t length) noexcept {
  if (buffer != nullptr && length > 0) {
    const auto count = std::min(text.size(), length - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = '\0';
  }
  return text.size();
}

bool copy_whole_to_buffer(std::string_view text, char* buffer, std::size_t length) noexcept {
  if (buffer == nullptr || text.size() >= length) {
    return false;
  }
  copy_to_buffer(text, buffer, length);
  return true;
}

} // namespace libhbd

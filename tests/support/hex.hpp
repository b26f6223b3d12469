#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hbd_test {

// Bytes as lowercase hexadecimal digits, "-" for none: the datagram peer's way to print them.
inline std::string to_hex(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) {
    return "-";
  }
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (const auto b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 0xf];
  }
  return text;
}

inline std::vector<std::uint8_t> from_hex(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  if (text == "-") {
    return bytes;
  }
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

} // namespace hbd_test

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace zunto {

// Mixes one field's hash into a running combined hash (which starts at 0).
constexpr void hash_combine(std::uint64_t& combined, std::uint64_t hash) {
  combined ^= hash + 0x9e3779b9 + (combined << 6) + (combined >> 2);
}

// An absent optional contributes 0.
template <typename T>
std::uint64_t optional_hash(const std::optional<T>& value) {
  return value ? std::hash<T>{}(*value) : 0;
}

} // namespace zunto

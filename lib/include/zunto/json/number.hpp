#pragma once

#include <nlohmann/json.hpp>

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <utility>

namespace zunto::json {

// Converts a floating-point number to T, cut toward zero; values beyond T's range give its
// nearest bound and NaN gives 0, where a plain cast would be undefined behaviour.
template <std::integral T>
  requires(!std::same_as<T, bool>)
T saturating_number(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  // Both bounds are exact powers of two (or their neighbours rounded up to one), so the
  // comparisons decide before the cast, never after.
  constexpr auto upper = static_cast<double>(std::numeric_limits<T>::max());
  constexpr auto lower = static_cast<double>(std::numeric_limits<T>::min());
  if (value >= upper) {
    return std::numeric_limits<T>::max();
  }
  if (value <= lower) {
    return std::numeric_limits<T>::min();
  }
  return static_cast<T>(value);
}

// Converts a JSON number to T as the JSON library would (floating point cut toward zero,
// true and false as 1 and 0), except that numbers beyond T's range saturate.
// Other kinds throw the JSON library's type_error, as its own conversion does.
template <std::integral T>
  requires(!std::same_as<T, bool>)
T saturating_number(const nlohmann::json& value) {
  if (value.is_number_unsigned()) {
    auto number = value.get<std::uint64_t>();
    return std::in_range<T>(number) ? static_cast<T>(number) : std::numeric_limits<T>::max();
  }
  if (value.is_number_integer()) {
    auto number = value.get<std::int64_t>();
    if (std::in_range<T>(number)) {
      return static_cast<T>(number);
    }
    return number < 0 ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
  }
  if (value.is_number_float()) {
    return saturating_number<T>(value.get<double>());
  }
  if (value.is_boolean()) {
    return value.get<bool>() ? 1 : 0;
  }
  return value.get<T>();
}

// Converts a JSON number to T keeping the low bits of an integer (taken modulo 2^bits, as rules have
// always read them); a floating-point number is cut toward zero and saturates at T's bounds.
// Other kinds throw the JSON library's type_error.
template <std::integral T>
  requires(!std::same_as<T, bool>)
T wrapping_number(const nlohmann::json& value) {
  if (value.is_number_unsigned()) {
    return static_cast<T>(value.get<std::uint64_t>());
  }
  if (value.is_number_integer()) {
    return static_cast<T>(value.get<std::int64_t>());
  }
  return saturating_number<T>(value);
}

// HID ids keep their 64-bit pattern when given as integers (a negative id has always read
// as its two's complement); only floating-point numbers are cut and saturate.
inline std::uint64_t unsigned_64_bit_pattern(const nlohmann::json& value) {
  if (value.is_number_integer() && !value.is_number_unsigned()) {
    return static_cast<std::uint64_t>(value.get<std::int64_t>());
  }
  return saturating_number<std::uint64_t>(value);
}

} // namespace zunto::json

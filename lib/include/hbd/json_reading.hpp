#pragma once

#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace hbd::json_reading {

// The message of an unknown member of an event value: "unknown key: `{0}`".
[[noreturn]] void throw_unknown_key(std::string_view key);

// "unknown key `{0}` in `{1}`" with the dump of the object holding the key.
[[noreturn]] void throw_unknown_key_in(std::string_view key, const nlohmann::json& object);

// `requires_number` with the backquoted key as the name, then the low 32 bits (a fraction dropped).
std::int32_t read_int32_member(std::string_view key, const nlohmann::json& value);

// Runs `read`; its zunto::json::unmarshal_error comes out as "`{key}` error: {message}" (or
// "`{key}` entry error: {message}" for an entry of a list). Other exceptions pass unchanged.
template <typename Read>
decltype(auto) wrap_error(std::string_view key, Read&& read, bool entry = false) {
  try {
    return read();
  } catch (const zunto::json::unmarshal_error& e) {
    throw zunto::json::unmarshal_error("`" + std::string(key) + (entry ? "` entry error: " : "` error: ") + e.what());
  }
}

// A fresh T read from `json` with its from_json, errors named by the key as wrap_error does.
template <typename T>
T read_wrapped(std::string_view key, const nlohmann::json& json, T initial = T{}) {
  return wrap_error(key, [&] {
    from_json(json, initial);
    return initial;
  });
}

} // namespace hbd::json_reading

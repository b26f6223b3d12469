#pragma once

#include <cstdint>

namespace zunto::osx::iokit_registry_entry_id {

// The id of one registry entry, unique in the process; 0 stands for no entry. std::hash serves it.
enum class value_t : std::uint64_t {};

} // namespace zunto::osx::iokit_registry_entry_id

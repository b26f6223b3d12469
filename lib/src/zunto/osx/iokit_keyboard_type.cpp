#include "zunto/osx/iokit_keyboard_type.hpp"

namespace zunto::osx::iokit_keyboard_type {

void to_json(nlohmann::json& json, value_t value) { json = static_cast<std::uint64_t>(value); }

} // namespace zunto::osx::iokit_keyboard_type

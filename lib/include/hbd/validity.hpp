#pragma once

#include <cstdint>

namespace hbd {

enum class validity : std::uint32_t {
  invalid,
  valid,
};

} // namespace hbd

#pragma once

#include "platform/engine/GRKGrellanKit.hpp"

namespace grellan {

// The application's one wrapper around the engine's facade, which screens message directly.
class GrellanKit_ final {
public:
  GrellanKit_() = default;

  GRKGrellanKit& kit() { return kit_; }

private:
  GRKGrellanKit kit_;
};

} // namespace grellan

#pragma once

#include "platform/engine/GRKGrellanKit.hpp"

namespace grellan {

// The application's one wrapper around the engine's facade, which screens message directly.
class GrellanKit_ final {
public:
  // Hands the engine the user's stored Vim key, as the screens do on every change.
  GrellanKit_();

  GRKGrellanKit& kit() { return kit_; }

private:
  GRKGrellanKit kit_;
};

} // namespace grellan

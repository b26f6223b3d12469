#pragma once

#include "platform/engine/GRKGrellanKit.hpp"

#include <QString>

namespace grellan {

// The application's one wrapper around the engine's facade, which screens message directly.
class GrellanKit_ final {
public:
  // Hands the engine the user's stored Vim key, as the screens do on every change. The engine keeps
  // its store in `engineFile`: the user's, or a scratch file.
  explicit GrellanKit_(const QString& engineFile = GRKJsonManager::filePath());

  GRKGrellanKit& kit() { return kit_; }

  static inline const QString defaultVimKey = "left_control";
  // The user-defaults key "vimKey", `defaultVimKey` while absent.
  static QString storedVimKey();

private:
  GRKGrellanKit kit_;
};

} // namespace grellan

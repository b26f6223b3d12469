#pragma once

#include <QWidget>

namespace grellan {

class GrellanKit_;
class Hobbard;

// The onboarding tutorial's window content. It shows the greeting page; the pages after it come
// with the tutorial's own screens.
class Tutorial final : public QWidget {
  Q_OBJECT

public:
  // The pages after the greeting use the engine wrapper and the backend control.
  Tutorial(GrellanKit_& kit, Hobbard& hobbard, QWidget* parent = nullptr);
};

} // namespace grellan

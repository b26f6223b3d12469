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
  Tutorial(GrellanKit_& kit, Hobbard& hobbard, QWidget* parent = nullptr);

private:
  GrellanKit_& kit_;
  Hobbard& hobbard_;
};

} // namespace grellan

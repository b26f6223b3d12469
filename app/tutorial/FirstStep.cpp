#include "tutorial/FirstStep.hpp"

#include <QVBoxLayout>

namespace grellan {

Tutorial::FirstStep::FirstStep(Binding<int> tutorialStep, QWidget* parent) : Page(std::move(tutorialStep), parent) {
  auto* layout = new QVBoxLayout(this);
  stack(*layout,
        {text(Tutorial::tr("Welcome to grellan!"), true), nullptr, text(Tutorial::tr("Let's set up this mac."), true),
         nullptr, padded(button(Tutorial::tr("Continue"), [this] { step(+1); }))});
}

} // namespace grellan

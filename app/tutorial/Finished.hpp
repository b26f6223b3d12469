#pragma once

#include "tutorial/Page.hpp"

#include <QUrl>

namespace grellan {

// Step 5: explains the modes, plays "Hero" once on arrival and ends the tutorial with "Finish", which
// calls `finish`.
class Tutorial::Finished final : public Tutorial::Page {
public:
  Finished(Binding<int> tutorialStep, std::function<void()> finish, QWidget* parent = nullptr);

  // The line that names the Vim key: the key verbatim and in bold, as rich text.
  static QString usage(const QString& vimKey);
  static QUrl openVimTutorial();

  void refresh() override;

private:
  QLabel* usage_;
};

} // namespace grellan

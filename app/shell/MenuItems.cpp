#include "shell/MenuItems.hpp"

#include "platform/UserDefaults.hpp"
#include "shell/DefaultsKeys.hpp"
#include "shell/SharedMenuItems.hpp"
#include "shell/WindowManager.hpp"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QWidget>

namespace grellan {

MenuItems::MenuItems(QMenuBar& menuBar) : QObject(&menuBar), help_(nullptr) {
  QMenu* application = menuBar.addMenu(tr("grellan"));
  addAboutItem(*application);
  addQuitItem(*application, QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* file = menuBar.addMenu(tr("File"));
  file->addAction(tr("Close"), QKeySequence(Qt::CTRL | Qt::Key_W), [] {
    if (QWidget* window = QApplication::activeWindow()) {
      window->close();
    }
  });

  QMenu* edit = menuBar.addMenu(tr("Edit"));
  edit->addAction(tr("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), [] { send("copy"); });
  edit->addAction(tr("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), [] { send("paste"); });
  edit->addAction(tr("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), [] { send("cut"); });
  edit->addAction(tr("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A), [] { send("selectAll"); });

  help_ = menuBar.addMenu(tr("Help"));
  tutorialPassedObservation_ =
      UserDefaults::standard().observe(DefaultsKeys::tutorialPassed, true, [this](const std::optional<QVariant>&) {
        rebuildHelpMenu(UserDefaults::standard().boolValue(DefaultsKeys::tutorialPassed).value_or(false));
      });
}

void MenuItems::send(const char* command) {
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr || target->metaObject()->indexOfMethod((QByteArray(command) + "()").constData()) < 0) {
    return;
  }
  QMetaObject::invokeMethod(target, command);
}

void MenuItems::rebuildHelpMenu(bool tutorialPassed) {
  help_->clear();
  help_->addAction(tr("Run tutorial"), [] { withWindowManager(&WindowManager::showTutorialWindow); });
  if (tutorialPassed) {
    help_->addAction(tr("Show active modifications"),
                     [] { withWindowManager(&WindowManager::showActiveModificationsView); });
  }
}

} // namespace grellan

#include "shell/MenuItems.hpp"

#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "shell/SharedMenuItems.hpp"
#include "shell/WindowManager.hpp"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QWidget>

namespace grellan {

MenuItems::MenuItems()
    : application_(std::make_unique<QMenu>(tr("grellan"))),
      file_(std::make_unique<QMenu>(tr("File"))),
      edit_(std::make_unique<QMenu>(tr("Edit"))),
      help_(std::make_unique<QMenu>(tr("Help"))) {
  addAboutItem(*application_);
  addSettingsItem(*application_, settingsShortcut());
  addQuitItem(*application_, QKeySequence(Qt::CTRL | Qt::Key_Q));

  file_->addAction(tr("Close"), QKeySequence(Qt::CTRL | Qt::Key_W), [] {
    if (QWidget* window = QApplication::activeWindow()) {
      window->close();
    }
  });

  edit_->addAction(tr("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), [] { send("copy"); });
  edit_->addAction(tr("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), [] { send("paste"); });
  edit_->addAction(tr("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), [] { send("cut"); });
  edit_->addAction(tr("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A), [] { send("selectAll"); });

  tutorialPassedObservation_ =
      UserDefaults::standard().observe(DefaultsKeys::tutorialPassed, true, [this](const std::optional<QVariant>&) {
        rebuildHelpMenu(UserDefaults::standard().boolValue(DefaultsKeys::tutorialPassed).value_or(false));
      });
}

MenuItems::~MenuItems() = default;

std::array<QMenu*, 4> MenuItems::menus() const { return {application_.get(), file_.get(), edit_.get(), help_.get()}; }

void MenuItems::addTo(QMenuBar& menuBar) const {
  for (QMenu* menu : menus()) {
    menuBar.addMenu(menu);
  }
}

void MenuItems::addShortcutsTo(QWidget& window) const {
  for (const QMenu* menu : menus()) {
    for (QAction* action : menu->actions()) {
      if (!action->shortcut().isEmpty()) {
        window.addAction(action);
      }
    }
  }
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

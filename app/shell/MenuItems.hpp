#pragma once

#include "platform/ObservationToken.hpp"

#include <QObject>

#include <array>
#include <memory>

class QMenu;
class QMenuBar;
class QWidget;

namespace grellan {

// The application's main menu: the grellan menu (About, Settings, Quit), Close, the edit commands
// (which go to the focused widget) and the help menu (with "Show active modifications" once the
// tutorial is passed). It owns its menus; menu bars and windows only show them.
class MenuItems final : public QObject {
  Q_OBJECT

public:
  MenuItems();
  ~MenuItems() override;

  // Shows the menus in `menuBar`.
  void addTo(QMenuBar& menuBar) const;
  // Makes the commands' shortcuts work while `window` is the active window.
  void addShortcutsTo(QWidget& window) const;

  QMenu* helpMenu() const { return help_.get(); }

  // Sends an edit command ("copy", "paste", "cut", "selectAll") to the focused widget, if it has one
  // that takes it.
  static void send(const char* command);

private:
  // In the order the menu bar shows them.
  std::array<QMenu*, 4> menus() const;
  void rebuildHelpMenu(bool tutorialPassed);

  std::unique_ptr<QMenu> application_;
  std::unique_ptr<QMenu> file_;
  std::unique_ptr<QMenu> edit_;
  std::unique_ptr<QMenu> help_;
  ObservationToken tutorialPassedObservation_;
};

} // namespace grellan

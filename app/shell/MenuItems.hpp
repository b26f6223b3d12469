#pragma once

#include "platform/ObservationToken.hpp"

#include <QObject>

class QMenu;
class QMenuBar;

namespace grellan {

// The settings window's main menu: About, Close, Quit, the help menu (with "Show active
// modifications" once the tutorial is passed) and the edit commands, which go to the focused widget.
class MenuItems final : public QObject {
  Q_OBJECT

public:
  // Fills `menuBar`, which it follows for its lifetime.
  explicit MenuItems(QMenuBar& menuBar);

  QMenu* helpMenu() const { return help_; }

  // Sends an edit command ("copy", "paste", "cut", "selectAll") to the focused widget, if it has one
  // that takes it.
  static void send(const char* command);

private:
  void rebuildHelpMenu(bool tutorialPassed);

  QMenu* help_;
  ObservationToken tutorialPassedObservation_;
};

} // namespace grellan

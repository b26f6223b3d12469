#pragma once

#include <QMenu>

namespace grellan {

// The menu of the tray icon: settings, show/hide indicator, About and Quit.
class AppMenu final : public QMenu {
  Q_OBJECT

public:
  explicit AppMenu(QWidget* parent = nullptr);

  // Starts as "Hide indicator" whatever the indicator does; only the item's own action changes it.
  QString toggleIndicatorTitle() const;
  QAction* settingsAction() const { return settings_; }
  QAction* toggleIndicatorAction() const { return toggleIndicator_; }
  QAction* aboutAction() const { return about_; }
  QAction* quitAction() const { return quit_; }

private:
  void showHideIndicatorWindow();

  QAction* settings_;
  QAction* toggleIndicator_;
  QAction* about_;
  QAction* quit_;
};

} // namespace grellan

#pragma once

#include "platform/ObservationToken.hpp"

#include <QWidget>

#include <functional>

class QMenuBar;
class QTabWidget;

namespace grellan {

class GeneralSettingsView;
class GrellanKit_;
class Hobbard;
class Updater;

// The settings window: the General tab, and once the tutorial was passed ("tutorialPassed") the
// Indicator, Widgets and Rules tabs, which come and go live with that key, under the main menu.
class SettingsWindow final : public QWidget {
  Q_OBJECT

public:
  static constexpr int width = 500;
  static constexpr int height = 450;

  SettingsWindow(GrellanKit_& kit, Hobbard& hobbard, Updater& updater, QWidget* parent = nullptr);

  // Lets `addMenus` fill the window's menu bar, above tabs of the same size as before.
  void addMainMenu(const std::function<void(QMenuBar&)>& addMenus);

  QMenuBar* menuBar() const { return menuBar_; }
  QTabWidget* tabs() const { return tabs_; }
  GeneralSettingsView* general() const { return general_; }

signals:
  // The Rules tab asked for the active modifications.
  void activeModificationsWanted();

private:
  void setTutorialPassed(bool passed);

  GrellanKit_& kit_;
  QMenuBar* menuBar_;
  QTabWidget* tabs_;
  GeneralSettingsView* general_;
  ObservationToken tutorialPassedObservation_;
};

} // namespace grellan

#pragma once

#include "platform/ObservationToken.hpp"

#include <QWidget>

class QMenuBar;
class QTabWidget;

namespace grellan {

class GeneralSettingsView;
class GrellanKit_;
class Hobbard;
class MenuItems;
class Updater;

// The settings window: the General tab, and once the tutorial was passed ("tutorialPassed") the
// Indicator, Widgets and Rules tabs, which come and go live with that key, under the main menu.
class SettingsWindow final : public QWidget {
  Q_OBJECT

public:
  static constexpr int width = 500;
  static constexpr int height = 450;

  SettingsWindow(GrellanKit_& kit, Hobbard& hobbard, Updater& updater, QWidget* parent = nullptr);

  // Shows `items` in the window's menu bar, above tabs of the same size as before.
  void addMainMenu(const MenuItems& items);

  QMenuBar* menuBar() const { return menuBar_; }
  QTabWidget* tabs() const { return tabs_; }
  GeneralSettingsView* general() const { return general_; }

private:
  void setTutorialPassed(bool passed);

  GrellanKit_& kit_;
  QMenuBar* menuBar_;
  QTabWidget* tabs_;
  GeneralSettingsView* general_;
  ObservationToken tutorialPassedObservation_;
};

} // namespace grellan

#pragma once

#include "platform/ObservationToken.hpp"

#include <QWidget>

class QMenuBar;
class QTabWidget;

namespace grellan {

class GeneralSettingsView;
class GrellanKit_;
class Hobbard;
class Updater;

// The settings window: the General tab, and once the tutorial was passed ("tutorialPassed") the
// Indicator, Widgets and Rules tabs, which come and go live with that key. Its menu bar starts empty
// for the owner to fill.
class SettingsWindow final : public QWidget {
  Q_OBJECT

public:
  static constexpr int width = 500;
  static constexpr int height = 450;

  SettingsWindow(GrellanKit_& kit, Hobbard& hobbard, Updater& updater, QWidget* parent = nullptr);

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

#pragma once

#include "platform/ObservationToken.hpp"

#include <QComboBox>
#include <QWidget>

#include <vector>

class QCheckBox;
class QPushButton;

namespace grellan {

class GrellanKit_;
class Hobbard;
class Updater;
class VimKeyPicker;

// The icon-style pop-up: choosing a style stores "iconStyle" and, in the same step, "menuBarEnabled"
// (true exactly for "Menu bar"), which shows or hides the menu-bar extra.
class IconStylePicker final : public QComboBox {
  Q_OBJECT

public:
  explicit IconStylePicker(QWidget* parent = nullptr);

private:
  ObservationToken observation_;
};

// The "General" tab: the Vim mode key, launching at login, the icon style, updates, restarting the
// backend's daemon and uninstalling. The settings rows show only once the tutorial was passed;
// uninstalling is always offered. Buttons act at once, without confirmation.
class GeneralSettingsView final : public QWidget {
  Q_OBJECT

public:
  GeneralSettingsView(GrellanKit_& kit, Hobbard& hobbard, Updater& updater, QWidget* parent = nullptr);

  VimKeyPicker* vimKeyPicker() const { return vimKeyPicker_; }
  QCheckBox* launchAtLoginToggle() const { return launchAtLoginToggle_; }
  IconStylePicker* iconStylePicker() const { return iconStylePicker_; }
  QPushButton* checkForUpdatesButton() const { return checkForUpdatesButton_; }
  QPushButton* restartButton() const { return restartButton_; }
  QPushButton* uninstallButton() const { return uninstallButton_; }
  // The rows shown once the tutorial was passed.
  QWidget* settingsGroup() const { return settingsGroup_; }

signals:
  void launchAtLoginToggled(bool enabled);
  void checkForUpdatesRequested();

private:
  GrellanKit_& kit_;
  QWidget* settingsGroup_;
  // The key as last stored, to tell a change from a write of the same key.
  QString vimKey_;
  VimKeyPicker* vimKeyPicker_ = nullptr;
  QCheckBox* launchAtLoginToggle_ = nullptr;
  IconStylePicker* iconStylePicker_ = nullptr;
  QPushButton* checkForUpdatesButton_ = nullptr;
  QPushButton* restartButton_ = nullptr;
  QPushButton* uninstallButton_ = nullptr;
  std::vector<ObservationToken> observations_;
};

} // namespace grellan

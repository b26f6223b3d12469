#include "settings/GeneralSettingsView.hpp"

#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/GrellanKit_.hpp"
#include "services/Hobbard.hpp"
#include "services/IndicatorTypes.hpp"
#include "services/LaunchAtLogin.hpp"
#include "services/Updater.hpp"
#include "views/VimKeyPicker.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace grellan {
namespace {

constexpr int pickerMaximumWidth = 200;
QString storedIconStyle() {
  return UserDefaults::standard().stringValue(DefaultsKeys::iconStyle).value_or(rawValue(IconStyle::MenuBar));
}

// A centred caption over its control.
QWidget* row(const QString& caption, QWidget* control, bool padded) {
  auto* row = new QWidget;
  auto* layout = new QVBoxLayout(row);
  if (!padded) {
    layout->setContentsMargins(0, 0, 0, 0);
  }
  if (!caption.isEmpty()) {
    auto* text = new QLabel(caption, row);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
  }
  control->setParent(row);
  layout->addWidget(control, 0, Qt::AlignHCenter);
  return row;
}

} // namespace

IconStylePicker::IconStylePicker(QWidget* parent) : QComboBox(parent) {
  setObjectName(DefaultsKeys::iconStyle);
  setMaximumWidth(pickerMaximumWidth);
  addItems({rawValue(IconStyle::MenuBar), rawValue(IconStyle::Hidden)});
  connect(this, &QComboBox::activated, this, [this](int index) {
    const QString style = itemText(index);
    // Choosing the entry already shown is no change.
    if (storedIconStyle() == style) {
      return;
    }
    UserDefaults::standard().setValue(DefaultsKeys::iconStyle, style);
    UserDefaults::standard().setValue(DefaultsKeys::menuBarEnabled, style == rawValue(IconStyle::MenuBar));
  });
  observation_ = UserDefaults::standard().observe(DefaultsKeys::iconStyle, true, [this](const auto&) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(findText(storedIconStyle()));
  });
}

GeneralSettingsView::GeneralSettingsView(GrellanKit_& kit, Hobbard& hobbard, Updater& updater, QWidget* parent)
    : QWidget(parent), kit_(kit), settingsGroup_(new QWidget(this)), vimKey_(GrellanKit_::storedVimKey()) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 20);

  auto* settings = new QVBoxLayout(settingsGroup_);
  settings->setContentsMargins(0, 0, 0, 0);

  vimKeyPicker_ = new VimKeyPicker(&GrellanKit_::storedVimKey, [](const QString& key) {
    // Choosing the entry already shown is no change.
    if (GrellanKit_::storedVimKey() != key) {
      UserDefaults::standard().setValue(DefaultsKeys::vimKey, key);
    }
  });
  vimKeyPicker_->setObjectName(DefaultsKeys::vimKey);
  observations_.push_back(UserDefaults::standard().observe(DefaultsKeys::vimKey, false, [this](const auto&) {
    vimKeyPicker_->reload();
    // Every change of the stored key while the row is shown reaches the engine, as stored; a write of the
    // same key is no change.
    const QString key = GrellanKit_::storedVimKey();
    if (key == vimKey_) {
      return;
    }
    vimKey_ = key;
    if (vimKeyPicker_->isVisible()) {
      kit_.kit().setVimKeyVimKey(key);
    }
  }));
  settings->addWidget(row(tr("Vim mode key"), vimKeyPicker_, false));

  launchAtLoginToggle_ = new LaunchAtLogin::Toggle(tr("Launch grellan at login"));
  connect(launchAtLoginToggle_, &QCheckBox::toggled, this, &GeneralSettingsView::launchAtLoginToggled);
  settings->addWidget(row(QString(), launchAtLoginToggle_, true));

  iconStylePicker_ = new IconStylePicker;
  settings->addWidget(row(tr("Icon style"), iconStylePicker_, true));

  checkForUpdatesButton_ = new QPushButton(tr("Check for updates"));
  connect(checkForUpdatesButton_, &QPushButton::clicked, this, [this, &updater] {
    updater.checkForUpdates();
    emit checkForUpdatesRequested();
  });
  settings->addWidget(row(tr("App updates"), checkForUpdatesButton_, true));

  restartButton_ = new QPushButton(tr("Restart Hobbard daemon"));
  connect(restartButton_, &QPushButton::clicked, this, [&hobbard] { hobbard.restart(); });
  settings->addWidget(
      row(tr("Restart the daemon that is responsible for intercepting keyboard events"), restartButton_, true));

  layout->addWidget(settingsGroup_);

  uninstallButton_ = new QPushButton(tr("Uninstall"));
  connect(uninstallButton_, &QPushButton::clicked, this, [&hobbard] { hobbard.uninstall(); });
  layout->addWidget(row(tr("Uninstall grellan app and Hobbard daemons"), uninstallButton_, true));
  layout->addStretch();

  observations_.push_back(UserDefaults::standard().observe(DefaultsKeys::tutorialPassed, true, [this](const auto&) {
    settingsGroup_->setVisible(UserDefaults::standard().boolValue(DefaultsKeys::tutorialPassed).value_or(false));
  }));
}

} // namespace grellan

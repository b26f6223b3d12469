#include "settings/GeneralSettingsView.hpp"

#include "indicator/IndicatorTypes.hpp"
#include "platform/UserDefaults.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "shell/DefaultsKeys.hpp"
#include "shell/GrellanKit_.hpp"
#include "shell/Hobbard.hpp"
#include "shell/LaunchAtLogin.hpp"
#include "shell/Updater.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <functional>

namespace grellan {
namespace {

constexpr int pickerMaximumWidth = 200;
const QString defaultVimKey = "left_control";

// A pop-up bound to a string user-defaults key: it shows the stored text, or `fallback` while the
// key holds no text, and calls `chosen` with each newly chosen entry.
ObservationToken bindPicker(QComboBox& picker, const QString& key, const QString& fallback,
                            std::function<void(const QString&)> chosen) {
  picker.setObjectName(key);
  picker.setMaximumWidth(pickerMaximumWidth);
  QComboBox* bound = &picker;
  QObject::connect(bound, &QComboBox::activated, bound, [bound, key, fallback, chosen](int index) {
    const QString value = bound->itemText(index);
    // Choosing the entry already shown is no change.
    if (UserDefaults::standard().stringValue(key).value_or(fallback) == value) {
      return;
    }
    UserDefaults::standard().setValue(key, value);
    chosen(value);
  });
  return UserDefaults::standard().observe(key, true, [bound, key, fallback](const auto&) {
    const QSignalBlocker blocker(bound);
    bound->setCurrentIndex(bound->findText(UserDefaults::standard().stringValue(key).value_or(fallback)));
  });
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
  addItems({rawValue(IconStyle::MenuBar), rawValue(IconStyle::Hidden)});
  observation_ = bindPicker(*this, DefaultsKeys::iconStyle, rawValue(IconStyle::MenuBar), [](const QString& style) {
    UserDefaults::standard().setValue(DefaultsKeys::menuBarEnabled, style == rawValue(IconStyle::MenuBar));
  });
}

GeneralSettingsView::GeneralSettingsView(GrellanKit_& kit, Hobbard& hobbard, Updater& updater, QWidget* parent)
    : QWidget(parent), kit_(kit), settingsGroup_(new QWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 20);

  auto* settings = new QVBoxLayout(settingsGroup_);
  settings->setContentsMargins(0, 0, 0, 0);

  vimKeyPicker_ = new QComboBox;
  vimKeyPicker_->addItems(GRKGrellanKitKt::modifierKeys());
  observations_.push_back(bindPicker(*vimKeyPicker_, DefaultsKeys::vimKey, defaultVimKey, [this](const QString&) {
    // The engine gets the key as stored.
    kit_.kit().setVimKeyVimKey(UserDefaults::standard().stringValue(DefaultsKeys::vimKey).value_or(defaultVimKey));
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

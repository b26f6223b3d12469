#include "settings/WidgetSettingsView.hpp"

#include "platform/UserDefaults.hpp"
#include "platform/Workspace.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/Widget.hpp"
#include "settings/ApplicationList.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <iostream>

namespace grellan {
namespace {

constexpr int pickerMaximumWidth = 200;

QStringList widgetNames() {
  QStringList names;
  for (const Widget widget : allWidgets) {
    names.append(rawValue(widget));
  }
  return names;
}

} // namespace

MyPicker::MyPicker(const QString& key, const QStringList& options, QWidget* parent) : QComboBox(parent) {
  setObjectName(key);
  setMaximumWidth(pickerMaximumWidth);
  addItems(options);
  connect(this, &QComboBox::activated, this,
          [this, key](int index) { UserDefaults::standard().setValue(key, itemText(index)); });
  observation_ = UserDefaults::standard().observe(key, true, [this, key](const auto&) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(findText(UserDefaults::standard().stringValue(key).value_or(QString()), Qt::MatchExactly));
  });
}

WidgetSettingsView::WidgetSettingsView(QWidget* parent) : QWidget(parent), electronApps_(new ApplicationList(this)) {
  auto* layout = new QVBoxLayout(this);

  auto* pickers = new QVBoxLayout;
  const auto pickerBlock = [this, pickers](const QString& title, const QString& key) {
    auto* block = new QVBoxLayout;
    block->setContentsMargins(8, 8, 8, 8);
    block->addWidget(new QLabel(title, this), 0, Qt::AlignHCenter);
    auto* picker = new MyPicker(key, widgetNames(), this);
    block->addWidget(picker, 0, Qt::AlignHCenter);
    pickers->addLayout(block);
    return picker;
  };
  topPicker_ = pickerBlock(tr("Top widget"), DefaultsKeys::topWidget);
  bottomPicker_ = pickerBlock(tr("Bottom widget"), DefaultsKeys::bottomWidget);
  auto* pickerRow = new QHBoxLayout;
  pickerRow->addStretch();
  pickerRow->addLayout(pickers);
  pickerRow->addStretch();
  layout->addLayout(pickerRow);

  auto* note = new QLabel(
      tr("Accessibility is used to get the selected text. Check that it is enabled in Privacy settings"), this);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignCenter);
  layout->addWidget(note);
  layout->addSpacing(10);

  auto* electron = new QVBoxLayout;
  electron->setContentsMargins(8, 8, 8, 8);
  electron->addWidget(new QLabel(tr("Enable selection observing in Electron apps"), this), 0, Qt::AlignHCenter);
  electronApps_->setIdentifiers(
      UserDefaults::standard().stringListValue(DefaultsKeys::enabledElectronApps).value_or(QStringList()));
  electron->addWidget(electronApps_);
  auto* performance = new QHBoxLayout;
  performance->addWidget(new QLabel(tr("Observing selection in Electron apps requires more performance."), this));
  auto* info = new QLabel(QString("<a href=\"%1\">%2</a>").arg(electronAccessibilityUrl, tr("Info")), this);
  info->setObjectName("info");
  connect(info, &QLabel::linkActivated, this, [](const QString& link) { Workspace::openUrl(QUrl(link)); });
  performance->addWidget(info);
  electron->addLayout(performance);
  electron->addWidget(new QLabel(tr("Removing app from the list requires a re-login"), this), 0, Qt::AlignHCenter);
  layout->addLayout(electron);

  connect(electronApps_, &ApplicationList::added, this,
          [](const QStringList& identifiers) { std::cout << identifiers.join("").toStdString() << std::endl; });
  connect(electronApps_, &ApplicationList::changed, this, [](const QStringList& identifiers) {
    UserDefaults::standard().setValue(DefaultsKeys::enabledElectronApps, identifiers);
  });
}

} // namespace grellan

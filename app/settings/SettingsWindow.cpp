#include "settings/SettingsWindow.hpp"

#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "settings/GeneralSettingsView.hpp"
#include "settings/IndicatorSettingsView.hpp"
#include "settings/RulesSettings.hpp"
#include "settings/WidgetSettingsView.hpp"

#include <QIcon>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace grellan {

SettingsWindow::SettingsWindow(GrellanKit_& kit, Hobbard& hobbard, Updater& updater, QWidget* parent)
    : QWidget(parent),
      kit_(kit),
      menuBar_(new QMenuBar(this)),
      tabs_(new QTabWidget(this)),
      general_(new GeneralSettingsView(kit, hobbard, updater)) {
  setWindowTitle(tr("Settings"));
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar_);
  layout->addWidget(tabs_);
  tabs_->addTab(general_, QIcon::fromTheme("preferences-system"), tr("General"));
  resize(width, height);
  tutorialPassedObservation_ =
      UserDefaults::standard().observe(DefaultsKeys::tutorialPassed, true, [this](const auto&) {
        setTutorialPassed(UserDefaults::standard().boolValue(DefaultsKeys::tutorialPassed).value_or(false));
      });
}

void SettingsWindow::addMainMenu(const std::function<void(QMenuBar&)>& addMenus) {
  addMenus(*menuBar_);
  resize(width, height + menuBar_->sizeHint().height());
}

void SettingsWindow::setTutorialPassed(bool passed) {
  const bool shown = tabs_->count() > 1;
  if (passed && !shown) {
    tabs_->addTab(new IndicatorSettingsView, QIcon::fromTheme("preferences-desktop-display"), tr("Indicator"));
    tabs_->addTab(new WidgetSettingsView, QIcon::fromTheme("preferences-desktop"), tr("Widgets"));
    auto* rules = new RulesSettings(kit_);
    connect(rules, &RulesSettings::activeModificationsWanted, this, &SettingsWindow::activeModificationsWanted);
    tabs_->addTab(rules, QIcon::fromTheme("text-x-generic"), tr("Rules"));
  } else if (!passed && shown) {
    while (tabs_->count() > 1) {
      QWidget* tab = tabs_->widget(1);
      tabs_->removeTab(1);
      delete tab;
    }
  }
}

} // namespace grellan

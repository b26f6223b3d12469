#include "settings/RulesSettings.hpp"

#include "services/GrellanKit_.hpp"
#include "settings/ApplicationList.hpp"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace grellan {

RulesSettings::RulesSettings(GrellanKit_& kit, QWidget* parent)
    : QWidget(parent),
      kit_(kit),
      ignoredApps_(new ApplicationList(this)),
      showActiveModificationsButton_(new QPushButton(tr("Show active modifications"), this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(new QLabel(tr("Ignore Vim modifications in specific apps"), this), 0, Qt::AlignHCenter);
  auto* list = new QVBoxLayout;
  list->setContentsMargins(8, 8, 8, 8);
  list->addWidget(ignoredApps_);
  layout->addLayout(list);
  layout->addWidget(showActiveModificationsButton_, 0, Qt::AlignHCenter);

  // Shows the list as stored afterwards: a store that failed must not look like a change.
  connect(ignoredApps_, &ApplicationList::changed, this, [this](const QStringList& identifiers) {
    kit_.kit().jsonManager().setIgnoredAppsIgnoredApps(identifiers);
    ignoredApps_->setIdentifiers(kit_.kit().jsonManager().getIgnoredApps());
  });
  connect(showActiveModificationsButton_, &QPushButton::clicked, this, &RulesSettings::activeModificationsWanted);
}

void RulesSettings::showEvent(QShowEvent* event) {
  ignoredApps_->setIdentifiers(kit_.kit().jsonManager().getIgnoredApps());
  QWidget::showEvent(event);
}

} // namespace grellan

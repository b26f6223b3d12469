#include "views/AboutView.hpp"

#include "services/SettingsShortcut.hpp"
#include "views/Link.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace grellan {

AboutView::AboutView(QWidget* parent) : QWidget(parent), appVersion_(GRELLAN_VERSION) {
  setFixedSize(400, 200);
  auto* layout = new QVBoxLayout(this);
  layout->setAlignment(Qt::AlignHCenter);
  layout->addStretch();
  auto* version = new QLabel(tr("Version %1").arg(appVersion_), this);
  version->setObjectName("version");
  layout->addWidget(version, 0, Qt::AlignHCenter);

  auto* credit = new QHBoxLayout;
  credit->setSpacing(0);
  auto* creditText = new QLabel(tr("Key events captured by "), this);
  creditText->setObjectName("credit");
  auto* link = makeLink(tr("Hobbard"), backendHomePage(), this);
  link->setObjectName("link");
  credit->addWidget(creditText);
  credit->addWidget(link);
  layout->addLayout(credit);
  layout->setAlignment(credit, Qt::AlignHCenter);

  layout->addStretch();
  auto* hint =
      new QLabel(tr("Open settings by pressing %1").arg(settingsShortcut().toString(QKeySequence::NativeText)), this);
  hint->setObjectName("hint");
  layout->addWidget(hint, 0, Qt::AlignHCenter);
  layout->addStretch();
}

QUrl AboutView::backendHomePage() { return QUrl("https://hobbard.org/"); }

} // namespace grellan

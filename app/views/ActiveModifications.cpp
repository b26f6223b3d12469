#include "views/ActiveModifications.hpp"

#include "services/GrellanKit_.hpp"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace grellan {

ActiveModifications::ActiveModifications(GrellanKit_& kit, QWidget* parent)
    : ActiveModifications([&kit] { return kit.kit().getModificationNames(); }, parent) {}

ActiveModifications::ActiveModifications(Names names, QWidget* parent)
    : QWidget(parent), names_(std::move(names)), list_(new QListWidget(this)) {
  setFixedSize(600, 400);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Enabled Vim modifications"), this));
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(list_);
  auto* path = new QLabel(tr("See full list at ~/.config/hobbard/hobbard.json"), this);
  path->setObjectName("path");
  layout->addWidget(path, 0, Qt::AlignHCenter);
  reload();
}

QStringList ActiveModifications::shownNames() const {
  QStringList names;
  for (int row = 0; row < list_->count(); ++row) {
    names.append(list_->item(row)->text());
  }
  return names;
}

void ActiveModifications::reload() {
  // An engine with nothing enabled leaves the list empty; the heading and the file's path still say
  // where the rules live.
  list_->clear();
  list_->addItems(names_());
}

void ActiveModifications::showEvent(QShowEvent* event) {
  reload();
  QWidget::showEvent(event);
}

} // namespace grellan

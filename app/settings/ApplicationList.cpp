#include "settings/ApplicationList.hpp"

#include "platform/OpenPanel.hpp"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextLayout>
#include <QVBoxLayout>

namespace grellan {
namespace {

// A button showing a theme symbol, or its text where the theme has none.
QPushButton* symbolButton(const QString& themeIcon, const QString& fallback, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(parent);
  const QIcon icon = QIcon::fromTheme(themeIcon);
  if (icon.isNull()) {
    button->setText(fallback);
  } else {
    button->setIcon(icon);
  }
  button->setObjectName(name);
  button->setAccessibleName(fallback);
  button->setFlat(true);
  return button;
}

// An identifier in at most two lines: broken anywhere when it has no spaces, the rest elided, so a
// long one never widens the row past its buttons. The whole identifier is the tool tip.
class IdentifierLabel final : public QLabel {
public:
  IdentifierLabel(const QString& identifier, QWidget* parent) : QLabel(parent), identifier_(identifier) {
    setToolTip(identifier);
    setAccessibleName(identifier);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(2 * fontMetrics().lineSpacing());
    setText(identifier);
  }

  QSize sizeHint() const override {
    return {fontMetrics().horizontalAdvance(identifier_), 2 * fontMetrics().lineSpacing()};
  }
  QSize minimumSizeHint() const override { return {0, 2 * fontMetrics().lineSpacing()}; }

protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    setText(twoLines(contentsRect().width()));
  }

private:
  QString twoLines(int width) const {
    QTextLayout layout(identifier_, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    first.setLineWidth(width);
    QTextLine second = layout.createLine();
    if (second.isValid()) {
      second.setLineWidth(width);
    }
    layout.endLayout();
    if (!second.isValid()) {
      return identifier_;
    }
    const QString rest = identifier_.mid(second.textStart());
    return identifier_.left(first.textLength()).trimmed() + '\n' +
           fontMetrics().elidedText(rest, Qt::ElideRight, width);
  }

  QString identifier_;
};

} // namespace

std::optional<QString> bundleIdentifier(const QString& appName) {
  const auto path = fullPathForApplication(appName);
  if (!path) {
    return std::nullopt;
  }
  return bundleIdentifierOfApplication(*path);
}

ApplicationList::ApplicationList(QWidget* parent) : QWidget(parent), list_(new QListWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  list_->setObjectName("applications");
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setStyleSheet("QListWidget { border-radius: 5px; }");
  layout->addWidget(list_);
  rebuild();
}

void ApplicationList::setIdentifiers(const QStringList& identifiers) {
  identifiers_ = identifiers;
  rebuild();
}

void ApplicationList::deleteItem(const QString& item) {
  identifiers_.removeAll(item);
  rebuild();
  emit changed(identifiers_);
}

void ApplicationList::addApplication() {
  OpenPanel panel;
  panel.allowsMultipleSelection = false;
  panel.canChooseDirectories = false;
  panel.directoryURL = QUrl::fromLocalFile(applicationsDirectory);
  if (panel.runModal() != OpenPanel::okResponse) {
    return;
  }
  const QString appName = panel.url() ? QFileInfo(panel.url()->path()).fileName() : QString();
  const auto identifier = bundleIdentifier(appName);
  // A blank entry would only be noise in the stored list; one already listed is appended again.
  if (!identifier || identifier->trimmed().isEmpty()) {
    return;
  }
  identifiers_.append(*identifier);
  rebuild();
  emit added(identifiers_);
  emit changed(identifiers_);
}

QPushButton* ApplicationList::deleteButton(int row) const {
  if (row < 0 || row >= identifiers_.size()) {
    return nullptr;
  }
  return list_->itemWidget(list_->item(row))->findChild<QPushButton*>("delete");
}

void ApplicationList::rebuild() {
  list_->clear();
  // Rows take the list's width and no more: their buttons stay in view.
  const auto addRow = [this](QWidget* content) {
    auto* item = new QListWidgetItem(list_);
    item->setSizeHint(QSize(0, content->sizeHint().height()));
    list_->setItemWidget(item, content);
  };
  for (const QString& identifier : identifiers_) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->addWidget(new IdentifierLabel(identifier, row), 1);
    auto* remove = symbolButton("user-trash", tr("Delete"), "delete", row);
    // Queued: the list is rebuilt, and the pressed button with it.
    connect(
        remove, &QPushButton::clicked, this, [this, identifier] { deleteItem(identifier); }, Qt::QueuedConnection);
    layout->addWidget(remove);
    addRow(row);
  }
  auto* last = new QWidget;
  auto* layout = new QHBoxLayout(last);
  layout->addStretch();
  addButton_ = symbolButton("list-add", tr("Add"), "add", last);
  connect(addButton_, &QPushButton::clicked, this, &ApplicationList::addApplication, Qt::QueuedConnection);
  layout->addWidget(addButton_);
  addRow(last);
}

} // namespace grellan

#include "tutorial/Page.hpp"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace grellan {
namespace {

// Scaled to fit, aspect kept, centred.
class ScaledImage final : public QWidget {
public:
  explicit ScaledImage(const ImageResource& resource) : image_(toImage(resource)) {
    setObjectName(resource.name);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }

  QSize sizeHint() const override { return image_.size(); }
  QSize minimumSizeHint() const override { return {0, 0}; }

protected:
  void paintEvent(QPaintEvent*) override {
    if (image_.isNull()) {
      return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted), image_);
  }

private:
  QImage image_;
};

} // namespace

Tutorial::Page::Page(Binding<int> tutorialStep, QWidget* parent)
    : QWidget(parent), tutorialStep_(std::move(tutorialStep)) {}

void Tutorial::Page::leave() {
  observations_.clear();
  for (const auto& connection : connections_) {
    QObject::disconnect(connection);
  }
  connections_.clear();
}

QLabel* Tutorial::Page::text(const QString& text, bool padded, Qt::TextFormat format) {
  auto* label = new QLabel(text);
  label->setTextFormat(format);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignCenter);
  if (padded) {
    label->setContentsMargins(defaultPadding, defaultPadding, defaultPadding, defaultPadding);
  }
  return label;
}

QWidget* Tutorial::Page::lines(const QStringList& lines, int spacing, Qt::TextFormat format) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(spacing);
  for (const QString& line : lines) {
    layout->addWidget(text(line, false, format));
  }
  box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  return box;
}

QWidget* Tutorial::Page::row(std::initializer_list<QWidget*> widgets) {
  auto* box = new QWidget;
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget : widgets) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      label->setWordWrap(false);
    }
    layout->addWidget(widget, 0, Qt::AlignVCenter);
  }
  return box;
}

QWidget* Tutorial::Page::padded(QWidget* child) {
  auto* box = new QWidget;
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(defaultPadding, defaultPadding, defaultPadding, defaultPadding);
  layout->addWidget(child, 0, Qt::AlignCenter);
  return box;
}

QWidget* Tutorial::Page::image(const ImageResource& resource) { return new ScaledImage(resource); }

QWidget* Tutorial::Page::buttonRow(std::initializer_list<QPushButton*> buttons) {
  auto* box = new QWidget;
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(defaultPadding, defaultPadding, defaultPadding, defaultPadding);
  for (QPushButton* button : buttons) {
    layout->addWidget(button, 0, Qt::AlignVCenter);
  }
  return box;
}

QPushButton* Tutorial::Page::button(const QString& title, std::function<void()> action) {
  auto* button = new QPushButton(title);
  QObject::connect(button, &QPushButton::clicked, button, [action = std::move(action)] { action(); });
  return button;
}

void Tutorial::Page::stack(QVBoxLayout& layout, std::initializer_list<QWidget*> children) {
  for (QWidget* child : children) {
    if (child == nullptr) {
      layout.addStretch();
    } else if (qobject_cast<QLabel*>(child) != nullptr ||
               child->sizePolicy().horizontalPolicy() == QSizePolicy::Expanding) {
      // Wrapped text and images take the whole width and centre themselves.
      layout.addWidget(child);
    } else {
      layout.addWidget(child, 0, Qt::AlignHCenter);
    }
  }
}

QWidget* Tutorial::Page::column(std::initializer_list<QWidget*> children) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  stack(*layout, children);
  box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return box;
}

} // namespace grellan

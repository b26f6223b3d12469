#pragma once

#include "platform/ObservationToken.hpp"
#include "resources/Assets.hpp"
#include "tutorial/Tutorial.hpp"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class QVBoxLayout;

namespace grellan {

// A page of the tutorial: a vertical stack centred horizontally. It moves the step only through the
// binding it is given and lasts while its step stays current.
class Tutorial::Page : public QWidget {
public:
  // The padding a padded element gets on each edge.
  static constexpr int defaultPadding = 16;

  explicit Page(Binding<int> tutorialStep, QWidget* parent = nullptr);

  // The frame moved to another step: the page stops following stored values and the backend before
  // it goes.
  void leave();
  // A stored value the page shows was written.
  virtual void refresh() {}

protected:
  void step(int by) { tutorialStep_.set(tutorialStep_.get() + by); }
  void setStep(int step) { tutorialStep_.set(step); }

  // Text as given, centred and wrapped.
  static QLabel* text(const QString& text, bool padded, Qt::TextFormat format = Qt::PlainText);
  // Lines of text, `spacing` points apart.
  static QWidget* lines(const QStringList& lines, int spacing, Qt::TextFormat format = Qt::PlainText);
  // Widgets side by side, centred vertically, not padded.
  static QWidget* row(std::initializer_list<QWidget*> widgets);
  // `child` with the default padding on every edge.
  static QWidget* padded(QWidget* child);
  // A named image that keeps its aspect ratio in the space it gets.
  static QWidget* image(const ImageResource& resource);
  // The buttons side by side in the given order, padded.
  static QWidget* buttonRow(std::initializer_list<QPushButton*> buttons);
  static QPushButton* button(const QString& title, std::function<void()> action);

  // The children from top to bottom; null adds a spacer.
  static void stack(QVBoxLayout& layout, std::initializer_list<QWidget*> children);
  // A stack of the children in a widget of its own, without padding.
  static QWidget* column(std::initializer_list<QWidget*> children);

  std::vector<ObservationToken> observations_;
  std::vector<QMetaObject::Connection> connections_;

private:
  Binding<int> tutorialStep_;
};

} // namespace grellan

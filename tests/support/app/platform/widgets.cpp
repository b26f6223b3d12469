#include "support/app/platform/widgets.hpp"

#include "support/app/platform/url_recorder.hpp"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace grellan_test {
namespace {

template <typename Widget>
QStringList shown(const QWidget& root) {
  QStringList result;
  for (const Widget* widget : root.findChildren<Widget*>()) {
    if (widget->isVisibleTo(&root)) {
      result.append(widget->text());
    }
  }
  return result;
}

} // namespace

void pick(QComboBox& picker, const QString& text) {
  const int index = picker.findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  picker.showPopup();
  QAbstractItemView* view = picker.view();
  const QRect entry = view->visualRect(view->model()->index(index, picker.modelColumn()));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
}

QStringList buttons(const QWidget& root) { return shown<QPushButton>(root); }
QStringList texts(const QWidget& root) { return shown<QLabel>(root); }

bool showsImage(const QWidget& root, const QString& name) {
  const auto images = root.findChildren<QWidget*>(name);
  return std::any_of(images.begin(), images.end(), [&root](const QWidget* image) { return image->isVisibleTo(&root); });
}

void click(QWidget& root, const QString& title) {
  for (QPushButton* button : root.findChildren<QPushButton*>()) {
    if (button->isVisibleTo(&root) && button->text() == title) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  ADD_FAILURE() << "no button " << title.toStdString() << " among " << buttons(root).join(", ").toStdString();
}

QUrl follow(QWidget& root, const QString& title) {
  UrlRecorder recorder;
  for (QLabel* label : root.findChildren<QLabel*>()) {
    const auto link = QRegularExpression("<a href=\"([^\"]+)\">([^<]+)</a>").match(label->text());
    if (label->isVisibleTo(&root) && link.hasMatch() && link.captured(2) == title) {
      emit label->linkActivated(link.captured(1));
    }
  }
  return recorder.opened().size() == 1 ? recorder.opened().front() : QUrl();
}

} // namespace grellan_test

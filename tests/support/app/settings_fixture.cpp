#include "support/app/settings_fixture.hpp"

#include <QAbstractItemView>
#include <QTest>

namespace grellan_test {

void pick(QComboBox& picker, const QString& text) {
  const int index = picker.findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  picker.showPopup();
  QAbstractItemView* view = picker.view();
  const QRect entry = view->visualRect(view->model()->index(index, picker.modelColumn()));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
}

} // namespace grellan_test

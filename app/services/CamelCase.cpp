#include "services/CamelCase.hpp"

#include <QList>

namespace grellan {

QString camelCaseToWords(const QString& text) {
  QString result;
  for (const uint scalar : text.toUcs4()) {
    const auto category = QChar::category(scalar);
    if (category == QChar::Letter_Uppercase || category == QChar::Letter_Titlecase) {
      result += QChar(u' ');
      result += QString::fromUcs4(reinterpret_cast<const char32_t*>(&scalar), 1).toLower();
    } else {
      result += QString::fromUcs4(reinterpret_cast<const char32_t*>(&scalar), 1);
    }
  }
  return result;
}

} // namespace grellan

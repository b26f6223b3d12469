#include "platform/SettingsText.hpp"

#include <QStringList>

namespace grellan {
namespace {

QString escapedKey(const QString& key) {
  QString result;
  for (const QChar character : key) {
    const char16_t code = character.unicode();
    if (code == '/') {
      result += '\\';
    } else if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') ||
               code == '_' || code == '-' || code == '.') {
      result += character;
    } else if (code <= 0xff) {
      result += QString("%%1").arg(code, 2, 16, QChar('0')).toUpper();
    } else {
      result += QString("%U%1").arg(code, 4, 16, QChar('0')).toUpper();
    }
  }
  return result;
}

// In quotes, so commas, semicolons and outer spaces stay part of the text; a leading "@" is doubled,
// or it would announce a typed value.
QString quoted(const QString& text) {
  QString result = text.startsWith('@') ? "\"@" : "\"";
  for (const QChar character : text) {
    switch (character.unicode()) {
      case '"':
      case '\\':
        result += '\\';
        result += character;
        break;
      case '\n':
        result += "\\n";
        break;
      case '\r':
        result += "\\r";
        break;
      case '\t':
        result += "\\t";
        break;
      default:
        result += character;
    }
  }
  return result + '"';
}

QString valueText(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
      return value.toString();
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
      // An empty list reads back as an empty text, which the typed reads take for one.
      QStringList items;
      for (const QString& item : value.toStringList()) {
        items.append(quoted(item));
      }
      return items.join(", ");
    }
    default:
      return value.isValid() ? quoted(value.toString()) : QString("@Invalid()");
  }
}

} // namespace

QByteArray settingsText(const QMap<QString, QVariant>& values) {
  QString text = "[General]\n";
  for (auto entry = values.constBegin(); entry != values.constEnd(); ++entry) {
    text += escapedKey(entry.key()) + '=' + valueText(entry.value()) + '\n';
  }
  return text.toUtf8();
}

} // namespace grellan

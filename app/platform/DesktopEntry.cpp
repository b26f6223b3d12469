#include "platform/DesktopEntry.hpp"

#include <QStringList>

namespace grellan {

QHash<QString, QString> desktopEntryKeys(const QByteArray& text) {
  QHash<QString, QString> keys;
  bool inGroup = false;
  for (const QString& rawLine : QString::fromUtf8(text).split('\n')) {
    const QString line = rawLine.trimmed();
    if (line.startsWith('[')) {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    const qsizetype equals = line.indexOf('=');
    if (!inGroup || line.startsWith('#') || equals <= 0) {
      continue;
    }
    const QString key = line.left(equals).trimmed();
    if (!keys.contains(key)) {
      keys.insert(key, line.mid(equals + 1).trimmed());
    }
  }
  return keys;
}

QString desktopEntryExec(const QString& program) {
  QString value = "\"";
  for (const QChar character : program) {
    switch (character.unicode()) {
      // Escaped inside the quotes with a backslash, which the string value then doubles.
      case '"':
      case '`':
      case '$':
        value += "\\\\" + QString(character);
        break;
      case '\\':
        value += "\\\\\\\\";
        break;
      case '%':
        value += "%%";
        break;
      // String escapes: a raw line break would end the entry's line.
      case '\n':
        value += "\\n";
        break;
      case '\r':
        value += "\\r";
        break;
      case '\t':
        value += "\\t";
        break;
      default:
        value += character;
    }
  }
  return value + "\"";
}

} // namespace grellan

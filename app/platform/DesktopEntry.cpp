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

} // namespace grellan

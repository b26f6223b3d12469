#include "shell/DesktopEntry.hpp"

namespace grellan {

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

#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace grellan {

// The keys and values of the "Desktop Entry" group of a desktop entry file's text, each key's first
// value; empty when the text has no such group.
QHash<QString, QString> desktopEntryKeys(const QByteArray& text);

// The Exec= value of a desktop entry that starts the program at this path: one quoted argument, escaped
// so that no character of the path ends the line, the quote or the value, or reads as a field code.
QString desktopEntryExec(const QString& program);

} // namespace grellan

#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace grellan {

// The keys and values of the "Desktop Entry" group of a desktop entry file's text, each key's first
// value; empty when the text has no such group.
QHash<QString, QString> desktopEntryKeys(const QByteArray& text);

} // namespace grellan

#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

namespace grellan {

// The settings as the text of an INI file that QSettings reads back to the same values: keys under
// [General] ("/" in a key names a group), lists comma-separated, strings quoted. Made in memory, so
// a save needs no file but the settings file itself.
QByteArray settingsText(const QMap<QString, QVariant>& values);

} // namespace grellan

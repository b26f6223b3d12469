#pragma once

#include <QString>

namespace grellan {

// The Exec= value of a desktop entry that starts the program at this path: one quoted argument, escaped
// so that no character of the path ends the line, the quote or the value, or reads as a field code.
QString desktopEntryExec(const QString& program);

} // namespace grellan

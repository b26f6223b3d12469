#pragma once

#include <QString>
#include <QStringList>

namespace grellan {

class WindowManager;

// Opens every window the application can show and writes a PNG of each into `folder`; returns the
// files written.
QStringList writeSnapshots(WindowManager& windowManager, const QString& folder);

} // namespace grellan

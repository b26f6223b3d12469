#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace grellan {

class WindowManager;

// Opens every window the application can show and writes a PNG of each into `folder`, made if missing;
// returns the files written, or nothing when the folder cannot be made or a picture not written.
std::optional<QStringList> writeSnapshots(WindowManager& windowManager, const QString& folder);

} // namespace grellan

#pragma once

#include <QUrl>

namespace grellan {

// The desktop around the application.
namespace Workspace {

// Opens a web page in the default browser (through QDesktopServices, whose URL handlers tests set).
bool openUrl(const QUrl& url);

} // namespace Workspace

} // namespace grellan

#include "platform/Workspace.hpp"

#include <QDesktopServices>

namespace grellan::Workspace {

bool openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

} // namespace grellan::Workspace

#include "services/SettingsShortcut.hpp"

namespace grellan {

QKeySequence settingsShortcut() { return QKeySequence(Qt::CTRL | Qt::Key_Comma); }

} // namespace grellan

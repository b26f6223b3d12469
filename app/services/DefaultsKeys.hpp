#pragma once

#include <QString>

namespace grellan::DefaultsKeys {

// The user-defaults keys the shell and the screens share.
inline const QString vimKey = "vimKey";
inline const QString iconStyle = "iconStyle";
inline const QString menuBarEnabled = "menuBarEnabled";
inline const QString tutorialPassed = "tutorialPassed";
inline const QString indicatorLocation = "indicatorLocation";
inline const QString indicatorAlpha = "indicatorAlpha";
inline const QString indicatorSize = "indicatorSize";
inline const QString topWidget = "topWidget";
inline const QString bottomWidget = "bottomWidget";
inline const QString enabledElectronApps = "enabledElectronApps";

} // namespace grellan::DefaultsKeys

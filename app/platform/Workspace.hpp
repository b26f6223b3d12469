#pragma once

#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace grellan {

// An application running on the desktop.
struct RunningApplication {
  // Empty when the application has none.
  QString bundleIdentifier;
  qint64 processIdentifier = 0;

  bool operator==(const RunningApplication&) const = default;
};

// Posted on the default notification centre when another application becomes frontmost; the object
// is its process id.
inline const QString didActivateApplicationNotification = "didActivateApplication";

// The desktop around the application.
namespace Workspace {

// Opens a web page in the default browser (through QDesktopServices, whose URL handlers tests set).
bool openUrl(const QUrl& url);

// The frontmost application and the running ones, as far as the desktop tells. Linux desktops offer
// no common way to learn either, so nothing is known unless a source reports it (tests do).
std::optional<RunningApplication> frontmostApplication();
std::vector<RunningApplication> runningApplications();

// A source's report: this application became frontmost. It joins the running ones and the
// activation notification is posted.
void applicationDidActivate(const RunningApplication& application);
// Forgets every application reported so far.
void reset();

} // namespace Workspace

} // namespace grellan

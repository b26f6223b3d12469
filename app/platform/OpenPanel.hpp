#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace grellan {

// A modal file chooser. Tests install a runner that answers in place of the user.
class OpenPanel final {
public:
  static constexpr int cancelResponse = 0;
  static constexpr int okResponse = 1;

  // Answers a run: the chosen item, or nothing when the user cancelled.
  using Runner = std::function<std::optional<QUrl>(const OpenPanel&)>;

  bool allowsMultipleSelection = true;
  bool canChooseDirectories = true;
  QUrl directoryURL;

  // Runs modally on the main thread; okResponse once an item was chosen.
  int runModal();
  // The chosen item of the last run, if any.
  const std::optional<QUrl>& url() const { return url_; }

  // Installs the runner (null: back to the file dialog); returns the previous one.
  static Runner setRunner(Runner runner);

private:
  std::optional<QUrl> url_;
};

// Where the desktop's applications are listed.
inline const QString applicationsDirectory = "/usr/share/applications";

// The desktop entry of the application with this file name ("org.example.Editor.desktop") in the
// XDG application folders, the user's first; nothing when none is known by that name.
std::optional<QString> fullPathForApplication(const QString& appName);
// The application identifier of the desktop entry at `path` (its file name without ".desktop");
// nothing when the file is not an application's desktop entry.
std::optional<QString> bundleIdentifierOfApplication(const QString& path);

} // namespace grellan

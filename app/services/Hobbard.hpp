#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <iosfwd>

namespace grellan {

// The application's one object for the keyboard-remapping backend: starts the client library,
// turns the backend's state files into three flags, saves the backend configuration once, drives
// the backend's launch agents, runs the driver's activation app and starts the uninstaller.
// Main thread only; library callbacks hop here themselves.
class Hobbard final : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool driverNotLoaded READ driverNotLoaded NOTIFY driverNotLoadedChanged)
  Q_PROPERTY(bool driverVersionNotMatched READ driverVersionNotMatched NOTIFY driverVersionNotMatchedChanged)
  Q_PROPERTY(
      bool inputMonitoringNotPermitted READ inputMonitoringNotPermitted NOTIFY inputMonitoringNotPermittedChanged)

public:
  using Completion = std::function<void(std::int32_t status)>;

  // Starts the library and its monitors and returns once the backend configuration was saved once.
  // The printed lines go to `output`.
  explicit Hobbard(std::ostream& output);
  // Stops the library unless terminate() did, so no callback can reach a destroyed object.
  ~Hobbard() override;

  Hobbard(const Hobbard&) = delete;
  Hobbard& operator=(const Hobbard&) = delete;

  bool driverNotLoaded() const { return driverNotLoaded_; }
  bool driverVersionNotMatched() const { return driverVersionNotMatched_; }
  bool inputMonitoringNotPermitted() const { return inputMonitoringNotPermitted_; }

  // The completion gets the activation app's exit status on the main thread.
  void activateDriver(Completion completion);
  void startServerAndMonitor();
  void restart();
  void uninstall();
  void terminate();
  void deactivateDriver(Completion completion);
  void onHobbardNotificationReceived(const QString& message);
  // Rebuilds the three flags from the one state file at `path`.
  void update(const QString& path);

  // The driver's activation app, under the backend's system root.
  static QString activationAppPath();

signals:
  void driverNotLoadedChanged();
  void driverVersionNotMatchedChanged();
  void inputMonitoringNotPermittedChanged();

private:
  static void callback(const char* filePath, void* context);
  static void configurationCallback(void* handle, void* context);

  void run(const QString& argument, Completion completion);
  void setDriverNotLoaded(bool value);

  std::ostream& output_;
  // Copied by the library's thread to reach this object only while it exists.
  const QPointer<Hobbard> self_;
  bool driverNotLoaded_ = false;
  bool driverVersionNotMatched_ = false;
  bool inputMonitoringNotPermitted_ = false;
  bool terminated_ = false;
};

} // namespace grellan

#pragma once

#include <QDBusVirtualObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace grellan {

// One script command, "indicator" or "play sound", with its arguments keyed by name; the direct
// parameter is under "".
class MyCommands final {
public:
  MyCommands(QString commandName, QVariantMap evaluatedArguments);

  // Runs the command. "indicator" posts "changeIndicator" with the direct parameter as it came;
  // "play sound" plays "Pop"; both fail with error 50 without a direct parameter; other names do
  // nothing.
  void performDefaultImplementation();
  void error();

  int scriptErrorNumber() const { return scriptErrorNumber_; }
  const QString& scriptErrorString() const { return scriptErrorString_; }

private:
  std::optional<QVariant> directParameter() const;

  QString commandName_;
  QVariantMap evaluatedArguments_;
  int scriptErrorNumber_ = 0;
  QString scriptErrorString_;
};

// The script commands on the session bus: service "org.grellan.Grellan", object "/org/grellan/Grellan".
// Interface "org.grellan.Grellan.Scripting" takes the commands as methods ("indicator", and
// "playSound" for "play sound") whose first argument, of any type, is the direct parameter; a
// command without one answers the error "org.grellan.Grellan.Error.ScriptError50" with the text
// "Need an indicator type"; an unknown command is ignored. Interface "org.grellan.Grellan.Application"
// has "Reopen", which a second start of the application calls.
class ScriptingService final : public QDBusVirtualObject {
  Q_OBJECT

public:
  static constexpr const char* serviceName = "org.grellan.Grellan";
  static constexpr const char* objectPath = "/org/grellan/Grellan";
  static constexpr const char* scriptingInterface = "org.grellan.Grellan.Scripting";
  static constexpr const char* applicationInterface = "org.grellan.Grellan.Application";
  static constexpr const char* scriptErrorName = "org.grellan.Grellan.Error.ScriptError50";

  // `reopen` runs when another start of the application asks this one to reopen.
  explicit ScriptingService(std::function<void()> reopen);
  ~ScriptingService() override;

  enum class Registration { registered, noSessionBus, heldByAnother };
  // Takes the service name on the session bus.
  Registration registerOnSessionBus();

  enum class ReopenAnswer { reopened, noAnswer, noInstance };
  // How long a second start waits for the running instance to answer.
  static constexpr int reopenTimeoutMilliseconds = 5000;
  // Asks the instance that holds the name to reopen. noAnswer when it holds the name but did not
  // answer in time (it hangs, or is stopped); noInstance when nobody holds it any more.
  static ReopenAnswer askRunningInstanceToReopen();

  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
  std::function<void()> reopen_;
  bool registered_ = false;
};

} // namespace grellan

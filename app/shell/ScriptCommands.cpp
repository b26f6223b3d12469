#include "shell/ScriptCommands.hpp"

#include "platform/NotificationCenter.hpp"
#include "platform/SoundPlayer.hpp"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>

namespace grellan {
namespace {

// D-Bus method names cannot hold spaces.
QString commandNameOf(const QString& member) { return member == "playSound" ? "play sound" : member; }

QVariant unwrapped(const QVariant& value) {
  if (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
    return value.value<QDBusVariant>().variant();
  }
  return value;
}

} // namespace

MyCommands::MyCommands(QString commandName, QVariantMap evaluatedArguments)
    : commandName_(std::move(commandName)), evaluatedArguments_(std::move(evaluatedArguments)) {}

std::optional<QVariant> MyCommands::directParameter() const {
  const auto found = evaluatedArguments_.constFind(QString());
  if (found == evaluatedArguments_.constEnd()) {
    return std::nullopt;
  }
  return found.value();
}

void MyCommands::performDefaultImplementation() {
  if (commandName_ == "indicator") {
    const auto parameter = directParameter();
    if (!parameter) {
      error();
      return;
    }
    NotificationCenter::defaultCenter().post("changeIndicator", *parameter);
  } else if (commandName_ == "play sound") {
    if (!directParameter()) {
      error();
      return;
    }
    SoundPlayer::shared().play("Pop");
  }
}

void MyCommands::error() {
  scriptErrorNumber_ = 50;
  scriptErrorString_ = "Need an indicator type";
}

ScriptingService::ScriptingService(std::function<void()> reopen) : reopen_(std::move(reopen)) {}

ScriptingService::~ScriptingService() {
  if (registered_) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(objectPath);
    bus.unregisterService(serviceName);
  }
}

ScriptingService::Registration ScriptingService::registerOnSessionBus() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return Registration::noSessionBus;
  }
  // The name held already, even by this process, belongs to the instance that holds it.
  if (bus.interface()->isServiceRegistered(serviceName).value() || !bus.registerService(serviceName)) {
    return Registration::heldByAnother;
  }
  if (!bus.registerVirtualObject(objectPath, this)) {
    bus.unregisterService(serviceName);
    return Registration::heldByAnother;
  }
  registered_ = true;
  return Registration::registered;
}

ScriptingService::ReopenAnswer ScriptingService::askRunningInstanceToReopen() {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return ReopenAnswer::noInstance;
  }
  const QDBusMessage reply =
      bus.call(QDBusMessage::createMethodCall(serviceName, objectPath, applicationInterface, "Reopen"), QDBus::Block,
               reopenTimeoutMilliseconds);
  if (reply.type() == QDBusMessage::ReplyMessage) {
    return ReopenAnswer::reopened;
  }
  const QDBusError::ErrorType error = QDBusError(reply).type();
  return error == QDBusError::NoReply || error == QDBusError::Timeout ? ReopenAnswer::noAnswer
                                                                      : ReopenAnswer::noInstance;
}

QString ScriptingService::introspect(const QString&) const {
  return QString(R"(<interface name="%1">
  <method name="indicator"><arg name="state" type="v" direction="in"/></method>
  <method name="playSound"><arg name="sound" type="v" direction="in"/></method>
</interface>
<interface name="%2">
  <method name="Reopen"/>
</interface>
)")
      .arg(scriptingInterface, applicationInterface);
}

bool ScriptingService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  if (message.type() != QDBusMessage::MethodCallMessage) {
    return false;
  }
  if (message.interface() == applicationInterface && message.member() == "Reopen") {
    connection.send(message.createReply());
    if (reopen_) {
      reopen_();
    }
    return true;
  }
  if (!message.interface().isEmpty() && message.interface() != scriptingInterface) {
    return false;
  }
  QVariantMap arguments;
  if (!message.arguments().isEmpty()) {
    arguments.insert(QString(), unwrapped(message.arguments().constFirst()));
  }
  MyCommands command(commandNameOf(message.member()), arguments);
  command.performDefaultImplementation();
  if (command.scriptErrorNumber() != 0) {
    connection.send(message.createErrorReply(scriptErrorName, command.scriptErrorString()));
  } else {
    connection.send(message.createReply());
  }
  return true;
}

} // namespace grellan

#include "services/Hobbard.hpp"

#include "libhbd.h"
#include "platform/ReplaceableFile.hpp"
#include "platform/command/command.hpp"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <optional>
#include <ostream>
#include <string>

extern char** environ;

namespace grellan {
namespace {

// What one backend state file says; an absent key or null is no value.
struct State {
  std::optional<bool> driver_loaded;
  std::optional<bool> driver_version_matched;
  std::optional<bool> hid_device_open_permitted;
};

// False when the value is there but not a Boolean.
bool readFlag(const QJsonObject& object, const char* key, std::optional<bool>& flag) {
  const QJsonValue value = object.value(key);
  if (value.isUndefined() || value.isNull()) {
    return true;
  }
  if (!value.isBool()) {
    return false;
  }
  flag = value.toBool();
  return true;
}

std::optional<State> decodeState(const QByteArray& bytes) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    return std::nullopt;
  }
  const QJsonObject object = document.object();
  State state;
  if (!readFlag(object, "driver_loaded", state.driver_loaded) ||
      !readFlag(object, "driver_version_matched", state.driver_version_matched) ||
      !readFlag(object, "hid_device_open_permitted", state.hid_device_open_permitted)) {
    return std::nullopt;
  }
  return state;
}

std::string text(const std::optional<bool>& flag) {
  if (!flag) {
    return "nil";
  }
  return *flag ? "true" : "false";
}

const char* text(bool flag) { return flag ? "true" : "false"; }

std::string dump(const std::map<std::string, State>& states) {
  if (states.empty()) {
    return "[:]";
  }
  std::string result = "[";
  for (const auto& [path, state] : states) {
    if (result.size() > 1) {
      result += ", ";
    }
    result += "\"" + path + "\": State(driver_loaded: " + text(state.driver_loaded) +
              ", driver_version_matched: " + text(state.driver_version_matched) +
              ", hid_device_open_permitted: " + text(state.hid_device_open_permitted) + ")";
  }
  return result + "]";
}

// The exit status of the program, 128 plus the signal when a signal ended it, 127 when it could not
// be started at all.
std::int32_t runAndWait(const std::string& program, const std::string& argument) {
  std::string programCopy = program;
  std::string argumentCopy = argument;
  char* arguments[] = {programCopy.data(), argumentCopy.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, arguments, environ) != 0) {
    return 127;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      return 127;
    }
  }
  if (WIFEXITED(status)) {
    return WEXITSTATUS(status);
  }
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 127;
}

} // namespace

Hobbard::Hobbard(std::ostream& output) : output_(output), self_(this) {
  libhbd_initialize();
  libhbd_enable_observer_state_json_file_monitor(callback, this);
  libhbd_enable_grabber_state_json_file_monitor(callback, this);
  libhbd_enable_configuration_monitor(configurationCallback, this);
}

Hobbard::~Hobbard() {
  if (!terminated_) {
    libhbd_terminate();
  }
}

QString Hobbard::activationAppPath() {
  const QString root = qEnvironmentVariable("HBD_SYSTEM_ROOT");
  return root + "/Applications/.Hobbard-VirtualHIDDevice-Manager.app/Contents/MacOS/Hobbard-VirtualHIDDevice-Manager";
}

void Hobbard::callback(const char* filePath, void* context) {
  if (filePath == nullptr || context == nullptr) {
    return;
  }
  const QString path = QString::fromUtf8(filePath);
  const QPointer<Hobbard> weak = static_cast<Hobbard*>(context)->self_;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [weak, path] {
        if (weak) {
          weak->update(path);
        }
      },
      Qt::QueuedConnection);
}

void Hobbard::configurationCallback(void* handle, void*) {
  // A configuration that did not load is not saved over the file; the library keeps that error.
  libhbd_core_configuration_save(handle);
  // The configuration is used once: no later change of the file reaches this object.
  libhbd_disable_configuration_monitor();
  libhbd_core_configuration_terminate(&handle);
}

void Hobbard::activateDriver(Completion completion) { run("activate", std::move(completion)); }

void Hobbard::deactivateDriver(Completion completion) { run("deactivate", std::move(completion)); }

void Hobbard::startServerAndMonitor() {
  libhbd_launchctl_manage_console_user_server(true);
  libhbd_launchctl_manage_session_monitor();
}

void Hobbard::restart() { libhbd_launchctl_restart_console_user_server(); }

void Hobbard::uninstall() {
  platform::command::run("/usr/bin/nohup osascript '/Library/Application Support/org.zunto/Hobbard-Suite/scripts/"
                         "uninstaller.applescript' >/dev/null 2>&1 &");
}

void Hobbard::terminate() {
  libhbd_launchctl_manage_console_user_server(false);
  libhbd_disable_notification_message_json_file_monitor();
  libhbd_terminate();
  terminated_ = true;
}

void Hobbard::onHobbardNotificationReceived(const QString& message) {
  output_ << "onHobbardNotificationReceived `" << message.toStdString() << "`\n" << std::flush;
}

void Hobbard::update(const QString& path) {
  std::map<std::string, State> states;
  if (const auto state = decodeState(ReplaceableFile::read(path).bytes)) {
    states.emplace(path.toStdString(), *state);
  }

  bool notLoaded = false;
  bool versionNotMatched = false;
  bool notPermitted = false;
  for (const auto& [statePath, state] : states) {
    notLoaded = notLoaded || !state.driver_loaded.value_or(false);
    versionNotMatched = versionNotMatched || state.driver_version_matched == false;
    notPermitted = notPermitted || !state.hid_device_open_permitted.value_or(false);
  }

  if (driverNotLoaded_ != notLoaded) {
    driverNotLoaded_ = notLoaded;
    emit driverNotLoadedChanged();
  }
  if (driverVersionNotMatched_ != versionNotMatched) {
    driverVersionNotMatched_ = versionNotMatched;
    emit driverVersionNotMatchedChanged();
  }
  if (inputMonitoringNotPermitted_ != notPermitted) {
    inputMonitoringNotPermitted_ = notPermitted;
    emit inputMonitoringNotPermittedChanged();
  }

  output_ << "on hobbard update: " << dump(states) << " \n driverNotLoaded: " << text(driverNotLoaded_)
          << "\n driverVersionNotMatched: " << text(driverVersionNotMatched_)
          << "\n inputMonitoringNotPermitted: " << text(inputMonitoringNotPermitted_) << "\n"
          << std::flush;
}

void Hobbard::setDriverNotLoaded(bool value) {
  // Assigned whatever it held, as the activation app's outcome always is.
  driverNotLoaded_ = value;
  emit driverNotLoadedChanged();
}

void Hobbard::run(const QString& argument, Completion completion) {
  const QPointer<Hobbard> weak = self_;
  const std::string program = activationAppPath().toStdString();
  QThreadPool::globalInstance()->start([weak, program, argument = argument.toStdString(), completion] {
    const std::int32_t status = runAndWait(program, argument);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weak, status, completion] {
          if (weak) {
            weak->setDriverNotLoaded(status != 0);
          }
          if (completion) {
            completion(status);
          }
        },
        Qt::QueuedConnection);
  });
}

} // namespace grellan

#include "shell/SessionBus.hpp"

#include <dbus/dbus.h>

#include <cstdlib>
#include <memory>

namespace grellan {
namespace {

struct ConnectionClose {
  void operator()(DBusConnection* connection) const {
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
  }
};
struct MessageUnref {
  void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
struct PendingCallUnref {
  void operator()(DBusPendingCall* call) const { dbus_pending_call_unref(call); }
};

} // namespace

bool sessionBusIsFrozen(std::chrono::milliseconds deadline) {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address == nullptr || *address == '\0') {
    return false;
  }
  DBusError error;
  dbus_error_init(&error);
  const std::unique_ptr<DBusConnection, ConnectionClose> connection(dbus_connection_open_private(address, &error));
  dbus_error_free(&error);
  if (!connection) {
    return false;
  }
  dbus_connection_set_exit_on_disconnect(connection.get(), false);
  const std::unique_ptr<DBusMessage, MessageUnref> hello(
      dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "Hello"));
  DBusPendingCall* sent = nullptr;
  if (!hello ||
      !dbus_connection_send_with_reply(connection.get(), hello.get(), &sent, static_cast<int>(deadline.count())) ||
      sent == nullptr) {
    return false;
  }
  const std::unique_ptr<DBusPendingCall, PendingCallUnref> call(sent);
  // A blocking call's own timeout does not cover the authentication before it: each step here
  // waits no longer than what is left.
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!dbus_pending_call_get_completed(call.get())) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return true;
    }
    if (!dbus_connection_read_write_dispatch(connection.get(), static_cast<int>(left.count()))) {
      return false;
    }
  }
  const std::unique_ptr<DBusMessage, MessageUnref> reply(dbus_pending_call_steal_reply(call.get()));
  // An error in place of a name, the call's own timeout among them: no bus to rely on.
  return !reply || dbus_message_get_type(reply.get()) != DBUS_MESSAGE_TYPE_METHOD_RETURN;
}

void turnOffSessionBus() { ::setenv("DBUS_SESSION_BUS_ADDRESS", "grellan-no-session-bus:", 1); }

} // namespace grellan

#include "shell/TerminationSignals.hpp"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace grellan {
namespace {

int signalSockets[2] = {-1, -1};

extern "C" void onTerminationSignal(int) {
  const char byte = 1;
  // Only async-signal-safe calls here; the event loop reads the byte.
  [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(signalSockets[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [] {
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(signalSockets[1], &byte, 1);
    QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  notifier_.reset();
  for (int& socket : signalSockets) {
    if (socket >= 0) {
      ::close(socket);
      socket = -1;
    }
  }
}

} // namespace grellan

#include "shell/DisplayFailureExit.hpp"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace grellan {

namespace {

QtMessageHandler previousHandler = nullptr;
std::function<void()> cleanUp;

void endOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    previousHandler(type, context, message);
    return;
  }
  if (cleanUp) {
    cleanUp();
  }
  std::fprintf(stderr,
               "grellan: the display could not be opened (DISPLAY \"%s\", WAYLAND_DISPLAY \"%s\"). With "
               "neither set, \"grellan --snapshot DIR\" writes pictures of its windows into DIR.\n",
               qgetenv("DISPLAY").constData(), qgetenv("WAYLAND_DISPLAY").constData());
  std::fflush(stderr);
  // Qt aborts once this handler returns; threads started beside Qt's start (the font configuration
  // load) may still run, so no exit handlers either.
  std::_Exit(1);
}

} // namespace

DisplayFailureExit::DisplayFailureExit(std::function<void()> beforeExit) {
  cleanUp = std::move(beforeExit);
  previousHandler = qInstallMessageHandler(endOnFatal);
}

DisplayFailureExit::~DisplayFailureExit() {
  qInstallMessageHandler(previousHandler);
  cleanUp = nullptr;
}

} // namespace grellan

#include "support/app/platform/message_capture.hpp"

#include <algorithm>

namespace grellan_test {
namespace {

QtMsgType& capturedLevel() {
  static QtMsgType level = QtWarningMsg;
  return level;
}

QStringList& captured() {
  static QStringList messages;
  return messages;
}

int severity(QtMsgType type) {
  switch (type) {
    case QtDebugMsg:
      return 0;
    case QtInfoMsg:
      return 1;
    case QtWarningMsg:
      return 2;
    case QtCriticalMsg:
      return 3;
    case QtFatalMsg:
      return 4;
  }
  return 0;
}

void keep(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (severity(type) >= severity(capturedLevel())) {
    captured().append(message);
  }
}

} // namespace

MessageCapture::MessageCapture(QtMsgType level) {
  captured().clear();
  capturedLevel() = level;
  previous_ = qInstallMessageHandler(keep);
}

MessageCapture::~MessageCapture() { qInstallMessageHandler(previous_); }

const QStringList& MessageCapture::messages() const { return captured(); }

qsizetype MessageCapture::count(const QString& part) const {
  return std::count_if(captured().cbegin(), captured().cend(),
                       [&part](const QString& message) { return message.contains(part); });
}

void MessageCapture::clear() { captured().clear(); }

} // namespace grellan_test

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace grellan_test {

// While it exists, the Qt log messages of at least `level` are kept instead of printed. One at a time.
class MessageCapture final {
public:
  explicit MessageCapture(QtMsgType level = QtWarningMsg);
  ~MessageCapture();

  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  const QStringList& messages() const;
  // How many kept messages contain `part`.
  qsizetype count(const QString& part) const;
  void clear();

private:
  QtMessageHandler previous_;
};

} // namespace grellan_test

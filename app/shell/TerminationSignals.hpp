#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace grellan {

// Turns SIGINT and SIGTERM into a clean quit of the Qt event loop, so the application's shutdown
// (which stops the backend client library) runs. One instance at a time.
class TerminationSignals final : public QObject {
  Q_OBJECT

public:
  TerminationSignals();
  ~TerminationSignals() override;

private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace grellan

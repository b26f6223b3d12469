#include "support/app/platform/wait.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace grellan_test {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > deadline.count()) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
  }
  return true;
}

} // namespace grellan_test

// The baseline of the indicator's steady state: an idle Qt Widgets program whose only work is one
// repeating 0.5-second timer. It runs until it is terminated.

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QTimer timer;
  timer.setInterval(500);
  QObject::connect(&timer, &QTimer::timeout, [] {});
  timer.start();
  return QApplication::exec();
}

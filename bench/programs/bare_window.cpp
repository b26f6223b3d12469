// The baseline of the application's start-up: a bare Qt Widgets program that shows one window and
// quits as soon as launching has finished, the way `grellan --quit-after-launch` does.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(500, 450);
  QTimer::singleShot(0, &application, [&window, &application] {
    window.show();
    QTimer::singleShot(0, &application, [] {
      std::puts("launched");
      std::fflush(stdout);
      QCoreApplication::quit();
    });
  });
  return QApplication::exec();
}

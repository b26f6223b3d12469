// The baseline of the application's start-up: a bare Qt Widgets program that shows one window and
// quits as soon as launching has finished, the way `grellan --quit-after-launch` does. With
// "--with-text" the window shows one line of text, so that it also loads the fonts that any window
// with text needs.

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(500, 450);
  if (QApplication::arguments().contains("--with-text")) {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("A window with one line of text"));
  }
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

// grellan: the menu-bar application of the modal editing layer.

#include "shell/GrellanApp.hpp"
#include "shell/ScriptCommands.hpp"
#include "shell/Snapshot.hpp"
#include "shell/TerminationSignals.hpp"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <iostream>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("grellan");
  QApplication::setOrganizationName("grellan");
  // A menu-bar application: closing its last window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  QCommandLineParser parser;
  parser.setApplicationDescription("The menu-bar application of the modal editing layer.");
  parser.addHelpOption();
  const QCommandLineOption snapshot("snapshot", "Write a PNG of every window into DIR, then exit.", "DIR");
  const QCommandLineOption quitAfterLaunch(
      "quit-after-launch", "Print \"launched\" once launching has finished and its window is shown, then exit.");
  parser.addOption(snapshot);
  parser.addOption(quitAfterLaunch);
  parser.process(application);

  // One instance a session: a second start asks the running one to show settings and ends. Pictures
  // are taken whatever runs.
  std::function<void()> reopen;
  grellan::ScriptingService scripting([&reopen] {
    if (reopen) {
      reopen();
    }
  });
  if (!parser.isSet(snapshot) && !scripting.registerOnSessionBus() &&
      grellan::ScriptingService::askRunningInstanceToReopen()) {
    return 0;
  }

  grellan::TerminationSignals terminationSignals;
  grellan::GrellanApp app(std::cout);
  reopen = [&app] { app.appDelegate().applicationShouldHandleReopen(true); };
  QObject::connect(&application, &QCoreApplication::aboutToQuit,
                   [&app] { app.appDelegate().applicationWillTerminate(); });

  QTimer::singleShot(0, &application, [&] {
    app.appDelegate().applicationDidFinishLaunching();
    if (parser.isSet(snapshot)) {
      for (const QString& file : grellan::writeSnapshots(app.appDelegate().windowManager(), parser.value(snapshot))) {
        std::printf("%s\n", qPrintable(file));
      }
      QCoreApplication::quit();
    } else if (parser.isSet(quitAfterLaunch)) {
      QTimer::singleShot(0, &application, [] {
        std::cout << "launched" << std::endl;
        QCoreApplication::quit();
      });
    }
  });
  return QApplication::exec();
}

// grellan: the menu-bar application of the modal editing layer.

#include "platform/EnvironmentPaths.hpp"
#include "platform/FontConfiguration.hpp"
#include "shell/GrellanApp.hpp"
#include "shell/ScriptCommands.hpp"
#include "shell/Snapshot.hpp"
#include "shell/TerminationSignals.hpp"

#include <QApplication>
#include <QCommandLineParser>
#include <QScopeGuard>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <future>
#include <iostream>

namespace {

// Help and version need no display, so they are answered before the GUI application exists (which
// aborts without one). Anything else, an option of Qt's own included, is left to the full parse.
void answerHelpOrVersion(QCommandLineParser& parser, int& argc, char** argv) {
  QStringList arguments;
  for (int index = 0; index < argc; ++index) {
    arguments.append(QString::fromLocal8Bit(argv[index]));
  }
  if (parser.parse(arguments) && (parser.isSet("help") || parser.isSet("help-all") || parser.isSet("version"))) {
    const QCoreApplication application(argc, argv);
    parser.process(application);
  }
}

} // namespace

int main(int argc, char** argv) {
  grellan::dropUnusableEnvironmentPaths();
  QCoreApplication::setApplicationName("grellan");
  QCoreApplication::setOrganizationName("grellan");
  QCoreApplication::setApplicationVersion(GRELLAN_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription("The menu-bar application of the modal editing layer.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption snapshot("snapshot", "Write a PNG of every window into DIR, then exit.", "DIR");
  const QCommandLineOption quitAfterLaunch(
      "quit-after-launch", "Print \"launched\" once launching has finished and its window is shown, then exit.");
  parser.addOption(snapshot);
  parser.addOption(quitAfterLaunch);
  answerHelpOrVersion(parser, argc, argv);

  // Loaded while Qt starts.
  const std::shared_future<void> fontConfigurationLoaded = grellan::loadFontConfiguration();
  QApplication application(argc, argv);
  // Qt reads the font configuration too, at the latest when the application ends: the load is over
  // by then, also for a second start that ends at once.
  const auto fontConfigurationWait = qScopeGuard([&fontConfigurationLoaded] { fontConfigurationLoaded.wait(); });
  // A menu-bar application: closing its last window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);
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
  grellan::GrellanApp app(std::cout, fontConfigurationLoaded);
  reopen = [&app] { app.appDelegate().applicationShouldHandleReopen(true); };
  QObject::connect(&application, &QCoreApplication::aboutToQuit,
                   [&app] { app.appDelegate().applicationWillTerminate(); });

  QTimer::singleShot(0, &application, [&] {
    app.appDelegate().applicationDidFinishLaunching();
    if (parser.isSet(snapshot)) {
      const QString folder = parser.value(snapshot);
      const auto files = grellan::writeSnapshots(app.appDelegate().windowManager(), folder);
      if (!files) {
        std::fprintf(stderr, "grellan: cannot write pictures into %s\n", qPrintable(folder));
        QCoreApplication::exit(1);
        return;
      }
      for (const QString& file : *files) {
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

// grellan: the menu-bar application of the modal editing layer.

#include "platform/EnvironmentPaths.hpp"
#include "platform/FontConfiguration.hpp"
#include "shell/DisplayFailureExit.hpp"
#include "shell/GrellanApp.hpp"
#include "shell/ProcessStart.hpp"
#include "shell/ScratchUserFolders.hpp"
#include "shell/ScriptCommands.hpp"
#include "shell/SessionBus.hpp"
#include "shell/Snapshot.hpp"
#include "shell/TerminationSignals.hpp"

#include <QApplication>
#include <QCommandLineParser>
#include <QScopeGuard>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <iostream>
#include <optional>

namespace {

QStringList argumentsOf(int argc, char** argv) {
  QStringList arguments;
  for (int index = 0; index < argc; ++index) {
    arguments.append(QString::fromLocal8Bit(argv[index]));
  }
  return arguments;
}

// Help and version need no display, so they are answered before the GUI application exists (which
// aborts without one). Anything else, an option of Qt's own included, is left to the full parse.
void answerHelpOrVersion(QCommandLineParser& parser, int& argc, char** argv) {
  if (parser.parse(argumentsOf(argc, argv)) &&
      (parser.isSet("help") || parser.isSet("help-all") || parser.isSet("version"))) {
    const QCoreApplication application(argc, argv);
    parser.process(application);
  }
}

// Qt's display platforms abort without their display. A platform the user names, in the environment
// or with Qt's own option, is the user's choice.
bool displayMissing(int argc, char** argv) {
  if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
      !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    return false;
  }
  for (int index = 1; index < argc; ++index) {
    const QByteArray argument(argv[index]);
    if (argument == "-platform" || argument == "--platform") {
      return false;
    }
  }
  return true;
}

// Long enough for a busy bus, short enough that a hung one does not look like a hung start.
constexpr std::chrono::seconds sessionBusDeadline{5};

} // namespace

int main(int argc, char** argv) {
  grellan::prepareProcessStart();
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
  std::optional<grellan::ScratchUserFolders> scratchUserFolders;
  if (parser.isSet(snapshot) && !scratchUserFolders.emplace().isValid()) {
    std::fprintf(stderr, "grellan: cannot make a scratch folder for the pictures' settings\n");
    return 1;
  }
  if (displayMissing(argc, argv)) {
    if (!parser.parse(argumentsOf(argc, argv))) {
      std::fprintf(stderr, "grellan: %s\n", qPrintable(parser.errorText()));
      return 1;
    }
    if (!parser.isSet(snapshot)) {
      std::fprintf(stderr, "grellan: no display found (DISPLAY and WAYLAND_DISPLAY are not set). Without one, "
                           "\"grellan --snapshot DIR\" writes pictures of its windows into DIR.\n");
      return 1;
    }
    // Pictures need no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // Before Qt's first use of the bus, which would wait on a frozen one.
  const bool sessionBusFrozen = grellan::sessionBusIsFrozen(sessionBusDeadline);
  if (sessionBusFrozen) {
    grellan::turnOffSessionBus();
  }

  // Loaded while Qt starts.
  const std::shared_future<void> fontConfigurationLoaded = grellan::loadFontConfiguration();
  std::optional<grellan::DisplayFailureExit> displayFailureExit(std::in_place, [&scratchUserFolders] {
    if (scratchUserFolders) {
      scratchUserFolders->remove();
    }
  });
  QApplication application(argc, argv);
  displayFailureExit.reset();
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
  if (!parser.isSet(snapshot)) {
    const auto registration =
        sessionBusFrozen ? grellan::ScriptingService::Registration::noSessionBus : scripting.registerOnSessionBus();
    if (registration == grellan::ScriptingService::Registration::noSessionBus) {
      std::fprintf(stderr,
                   "grellan: %s; starting without script commands and without the check for a running "
                   "grellan\n",
                   sessionBusFrozen ? "the session bus does not answer" : "no session bus");
    } else if (registration == grellan::ScriptingService::Registration::heldByAnother) {
      switch (grellan::ScriptingService::askRunningInstanceToReopen()) {
        case grellan::ScriptingService::ReopenAnswer::reopened:
          return 0;
        case grellan::ScriptingService::ReopenAnswer::noAnswer:
          // A second instance would run beside it, with a second indicator.
          std::fprintf(stderr, "grellan: a running grellan holds %s but does not answer; not starting another\n",
                       grellan::ScriptingService::serviceName);
          return 1;
        case grellan::ScriptingService::ReopenAnswer::noInstance:
          break;
      }
    }
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

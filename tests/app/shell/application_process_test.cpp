// The grellan executable as a user starts it: a termination signal ends it cleanly, and a second
// start hands over to the running one.

#include "support/app/platform/wait.hpp"
#include "support/temporary_directory.hpp"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using grellan_test::waitUntil;

// Started on the tests' offscreen platform, folders and session bus.
class Application final {
public:
  explicit Application(const QStringList& arguments = {},
                       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setProcessEnvironment(environment);
    process_.start(GRELLAN_PROGRAM, arguments);
  }
  ~Application() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }

  bool waitForOutput(const QString& text) {
    return waitUntil([&] {
      output_ += QString::fromUtf8(process_.readAll());
      return output_.contains(text);
    });
  }
  bool waitForExit() {
    return waitUntil([&] { return process_.state() == QProcess::NotRunning; });
  }
  QString output() {
    output_ += QString::fromUtf8(process_.readAll());
    return output_;
  }
  QProcess& process() { return process_; }

private:
  QProcess process_;
  QString output_;
};

TEST(ApplicationProcess, a_termination_signal_ends_the_application_through_its_shutdown) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    Application application;
    // Launching has finished once both state files were read.
    ASSERT_TRUE(application.waitForOutput("inputMonitoringNotPermitted: false\n") &&
                application.waitForOutput("grabber_state.json"));
    ASSERT_EQ(::kill(static_cast<pid_t>(application.process().processId()), signal), 0);
    ASSERT_TRUE(application.waitForExit());
    EXPECT_EQ(application.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.process().exitCode(), 0);
    EXPECT_TRUE(application.output().contains("libhbd_terminate")) << application.output().toStdString();
  }
}

TEST(ApplicationProcess, a_second_start_asks_the_running_one_to_reopen_and_ends) {
  Application first;
  ASSERT_TRUE(first.waitForOutput("grabber_state.json"));
  Application second;
  ASSERT_TRUE(second.waitForExit());
  EXPECT_EQ(second.process().exitCode(), 0);
  EXPECT_FALSE(second.output().contains("libhbd_initialize")) << second.output().toStdString();
  EXPECT_EQ(first.process().state(), QProcess::Running);
}

TEST(ApplicationProcess, help_and_version_need_no_display) {
  // The X11 platform without a display: the GUI application cannot start here.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  const struct {
    const char* option;
    const char* answer;
  } cases[] = {{"--help", "--snapshot <DIR>"}, {"-h", "--quit-after-launch"}, {"--version", "grellan 1.0.0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    Application application({c.option}, environment);
    ASSERT_TRUE(application.waitForExit());
    EXPECT_EQ(application.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.process().exitCode(), 0);
    EXPECT_TRUE(application.output().contains(c.answer)) << application.output().toStdString();
  }
}

TEST(ApplicationProcess, snapshots_that_cannot_be_written_fail_naming_the_folder) {
  hbd_test::temporary_directory directory;
  const QString file = QString::fromStdString((directory.path() / "file").string());
  std::ofstream(file.toStdString()) << "not a folder";
  for (const QString& folder : {file, file + "/pictures"}) {
    SCOPED_TRACE(folder.toStdString());
    Application application({"--snapshot", folder});
    ASSERT_TRUE(application.waitForExit());
    EXPECT_EQ(application.process().exitStatus(), QProcess::NormalExit);
    EXPECT_NE(application.process().exitCode(), 0);
    EXPECT_TRUE(application.output().contains("cannot write pictures into " + folder))
        << application.output().toStdString();
  }
}

TEST(ApplicationProcess, a_start_with_the_backend_missing_logs_it_once_without_the_shell_s_messages) {
  if (QFile::exists("/bin/launchctl")) {
    GTEST_SKIP() << "launchctl is installed here";
  }
  // A later launch, which starts the backend's agents through launchctl.
  const std::filesystem::path settings = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "grellan";
  std::filesystem::create_directories(settings);
  std::ofstream(settings / "grellan.conf") << "[General]\ntutorialPassed=true\n";

  Application application({"--quit-after-launch"});
  ASSERT_TRUE(application.waitForExit());
  std::filesystem::remove_all(settings);
  std::filesystem::remove_all(std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard");
  const QString output = application.output();
  EXPECT_TRUE(output.contains("launched")) << output.toStdString();
  EXPECT_FALSE(output.contains("not found")) << output.toStdString();
  EXPECT_EQ(output.count("/bin/launchctl is missing"), 1) << output.toStdString();
}

} // namespace

// The grellan executable as a user starts it: a termination signal ends it cleanly, and a second
// start hands over to the running one.

#include "support/app/wait.hpp"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

namespace {

using grellan_test::waitUntil;

// Started on the tests' offscreen platform, folders and session bus.
class Application final {
public:
  Application() {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(GRELLAN_PROGRAM, QStringList{});
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

} // namespace

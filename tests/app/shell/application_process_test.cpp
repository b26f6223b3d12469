// The grellan executable as a user starts it: a termination signal ends it cleanly, a second start
// hands over to the running one, and a start where something is missing or hangs (display, session
// bus, the reader of its output, the running instance) ends or goes on with a clear message.

#include "support/app/platform/wait.hpp"
#include "support/files.hpp"
#include "support/temporary_directory.hpp"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using grellan_test::waitUntil;

// Started on the tests' offscreen platform, folders and session bus.
class Application final {
public:
  // `inChild` runs in the new process before grellan does, its descriptors set up.
  explicit Application(const QStringList& arguments = {},
                       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                       const std::function<void()>& inChild = {}) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setProcessEnvironment(environment);
    if (inChild) {
      process_.setChildProcessModifier(inChild);
    }
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

TEST(ApplicationProcess, a_second_start_ends_with_an_error_when_the_running_one_does_not_answer) {
  Application first;
  ASSERT_TRUE(first.waitForOutput("grabber_state.json"));
  const auto firstProcess = static_cast<pid_t>(first.process().processId());
  ASSERT_EQ(::kill(firstProcess, SIGSTOP), 0);
  Application second;
  const bool ended = second.waitForExit();
  ::kill(firstProcess, SIGCONT);
  ASSERT_TRUE(ended);
  EXPECT_EQ(second.process().exitCode(), 1);
  EXPECT_TRUE(second.output().contains("does not answer; not starting another")) << second.output().toStdString();
  EXPECT_FALSE(second.output().contains("libhbd_initialize")) << second.output().toStdString();
}

TEST(ApplicationProcess, a_session_bus_that_takes_connections_and_never_answers_does_not_hold_up_the_start) {
  hbd_test::temporary_directory directory;
  const std::string path = (directory.path() / "bus").string();
  const int bus = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(bus, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof(address.sun_path));
  path.copy(address.sun_path, path.size());
  // Listening without accepting: the connection is taken, and nothing ever comes back.
  ASSERT_EQ(::bind(bus, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
  ASSERT_EQ(::listen(bus, 16), 0);

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString("unix:path=" + path));
  Application application({"--quit-after-launch"}, environment);
  const bool ended = application.waitForExit();
  ::close(bus);
  ASSERT_TRUE(ended);
  EXPECT_EQ(application.process().exitCode(), 0);
  const QString output = application.output();
  EXPECT_TRUE(output.contains("launched")) << output.toStdString();
  EXPECT_EQ(output.count("the session bus does not answer"), 1) << output.toStdString();
}

TEST(ApplicationProcess, a_reader_of_the_output_that_went_away_does_not_end_the_application) {
  int output[2];
  ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
  // Nobody reads: every write to standard output fails.
  ::close(output[0]);
  Application application({"--quit-after-launch"}, QProcessEnvironment::systemEnvironment(),
                          [writeEnd = output[1]] { ::dup2(writeEnd, STDOUT_FILENO); });
  const bool ended = application.waitForExit();
  ::close(output[1]);
  ASSERT_TRUE(ended);
  EXPECT_EQ(application.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(application.process().exitCode(), 0);
}

TEST(ApplicationProcess, without_a_display_it_says_so_and_ends_with_1_unless_it_takes_pictures) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  hbd_test::temporary_directory directory;
  const QString pictures = QString::fromStdString(directory.path().string());
  const struct {
    QStringList arguments;
    int exitCode;
    QStringList answers;
  } cases[] = {
      {{}, 1, {"no display found", "\"grellan --snapshot DIR\" writes pictures"}},
      {{"--bogus"}, 1, {"Unknown option 'bogus'"}},
      {{"--snapshot", pictures}, 0, {"tutorial-0-welcome.png"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers.constFirst().toStdString());
    Application application(c.arguments, environment);
    ASSERT_TRUE(application.waitForExit());
    EXPECT_EQ(application.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.process().exitCode(), c.exitCode);
    for (const QString& answer : c.answers) {
      EXPECT_TRUE(application.output().contains(answer)) << application.output().toStdString();
    }
  }
}

TEST(ApplicationProcess, a_display_that_does_not_answer_ends_it_with_1_and_a_plain_message) {
  hbd_test::temporary_directory directory;
  const struct {
    const char* variable;
    const char* value;
  } cases[] = {{"DISPLAY", ":65533"}, {"WAYLAND_DISPLAY", "wayland-65533"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variable);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert(c.variable, c.value);
    // Its scratch folder for pictures goes with it.
    environment.insert("TMPDIR", QString::fromStdString(directory.path().string()));
    const QString pictures = QString::fromStdString((directory.path() / "pictures").string());
    for (const QStringList& arguments : {QStringList{}, QStringList{"--snapshot", pictures}}) {
      Application application(arguments, environment);
      ASSERT_TRUE(application.waitForExit());
      EXPECT_EQ(application.process().exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(application.process().exitCode(), 1);
      EXPECT_TRUE(application.output().contains(QString("the display could not be opened")))
          << application.output().toStdString();
      EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
    }
  }
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

// Every file under `folder` with its bytes.
std::map<std::filesystem::path, std::string> filesUnder(const std::filesystem::path& folder) {
  std::map<std::filesystem::path, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[entry.path()] = hbd_test::read_file(entry.path());
    }
  }
  return files;
}

TEST(ApplicationProcess, taking_pictures_leaves_the_user_s_files_as_they_were) {
  hbd_test::temporary_directory user;
  const std::filesystem::path config = user.path() / "config";
  const std::filesystem::path data = user.path() / "data";
  std::filesystem::create_directories(config / "grellan");
  std::filesystem::create_directories(config / "hobbard");
  std::filesystem::create_directories(data);
  // A backend configuration without grellan's rules, which a launch adds and saves.
  std::ofstream(config / "hobbard" / "hobbard.json") << R"({"profiles":[{"name":"Mine","selected":true}]})";
  std::ofstream(config / "grellan" / "engine.json") << R"({"vimKey":"caps_lock","ignoredApps":["vim"]})";
  std::ofstream(config / "grellan" / "grellan.conf") << "[General]\ntutorialPassed=true\nvimKey=fn\n";
  const auto before = filesUnder(user.path());

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.string()));
  environment.insert("XDG_DATA_HOME", QString::fromStdString(data.string()));
  hbd_test::temporary_directory pictures;
  Application application({"--snapshot", QString::fromStdString(pictures.path().string())}, environment);
  ASSERT_TRUE(application.waitForExit());
  ASSERT_EQ(application.process().exitCode(), 0) << application.output().toStdString();
  EXPECT_TRUE(std::filesystem::exists(pictures.path() / "tutorial-0-welcome.png"));
  EXPECT_EQ(filesUnder(user.path()), before);
}

TEST(ApplicationProcess, a_disk_that_fills_up_while_taking_pictures_leaves_no_half_picture) {
  hbd_test::temporary_directory pictures;
  // Room for the small pictures, not for the large ones.
  Application application({"--snapshot", QString::fromStdString(pictures.path().string())},
                          QProcessEnvironment::systemEnvironment(), [] {
                            std::signal(SIGXFSZ, SIG_IGN);
                            const rlimit limit{20000, 20000};
                            ::setrlimit(RLIMIT_FSIZE, &limit);
                          });
  ASSERT_TRUE(application.waitForExit());
  EXPECT_NE(application.process().exitCode(), 0);
  EXPECT_TRUE(application.output().contains("cannot write pictures into")) << application.output().toStdString();
  for (const auto& entry : std::filesystem::directory_iterator(pictures.path())) {
    EXPECT_FALSE(QImage(QString::fromStdString(entry.path().string())).isNull()) << entry.path();
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

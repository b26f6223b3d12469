#include "services/Hobbard.hpp"

#include "support/app/platform/message_capture.hpp"
#include "support/app/platform/odd_files.hpp"
#include "support/app/platform/wait.hpp"
#include "support/app/services/backend_files.hpp"
#include "support/file_writer_process.hpp"
#include "support/launch_agents.hpp"
#include "support/watchdog.hpp"

#include "platform/command/command.hpp"

#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace {

using grellan::Hobbard;
using grellan_test::activationArgument;
using grellan_test::installActivationApp;
using grellan_test::OddFile;
using grellan_test::stateFile;
using grellan_test::waitUntil;

std::filesystem::path systemRoot() { return std::getenv("HBD_SYSTEM_ROOT"); }

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
    ++found;
  }
  return found;
}

class HobbardTest : public testing::Test {
protected:
  void SetUp() override { std::filesystem::create_directories(stateFile("").parent_path()); }

  void TearDown() override {
    hobbard_.reset();
    std::filesystem::remove_all(stateFile("").parent_path());
    std::filesystem::remove_all(systemRoot() / "Applications");
  }

  Hobbard& start() {
    hobbard_.emplace(output_);
    // Each monitor reports its file once when it starts.
    EXPECT_TRUE(waitUntil([this] { return updates() == 2; }));
    return *hobbard_;
  }

  std::size_t updates() const { return count(output_.str(), "on hobbard update: "); }

  std::ostringstream output_;
  std::optional<Hobbard> hobbard_;
};

struct Flags {
  bool driverNotLoaded;
  bool driverVersionNotMatched;
  bool inputMonitoringNotPermitted;
};

struct StateFileCase {
  const char* name;
  // Written by another process; null removes the file.
  const char* content;
  Flags flags;
};

TEST_F(HobbardTest, each_state_file_sets_the_three_flags_from_that_file_alone) {
  const StateFileCase cases[] = {
      {"all true",
       R"({"driver_loaded": true, "driver_version_matched": true, "hid_device_open_permitted": true})",
       {false, false, false}},
      {"driver not loaded", R"({"driver_loaded": false})", {true, false, true}},
      {"empty object", "{}", {true, false, true}},
      {"version null", R"({"driver_version_matched": null, "driver_loaded": true})", {false, false, true}},
      {"version false, extra keys",
       R"({"driver_loaded": true, "driver_version_matched": false,
        "hid_device_open_permitted": true, "other": [1, 2]})",
       {false, true, false}},
      {"all null",
       R"({"driver_loaded": null, "driver_version_matched": null, "hid_device_open_permitted": null})",
       {true, false, true}},
      {"a string where a Boolean belongs", R"({"driver_loaded": "true"})", {false, false, false}},
      {"back to not loaded", R"({"driver_loaded": false, "driver_version_matched": false})", {true, true, true}},
      {"a number where a Boolean belongs",
       R"({"driver_loaded": false, "hid_device_open_permitted": 1})",
       {false, false, false}},
      {"not an object", R"([{"driver_loaded": false}])", {false, false, false}},
      {"not JSON", R"({"driver_loaded": fal)", {false, false, false}},
      {"not loaded again", R"({"hid_device_open_permitted": true})", {true, false, false}},
      {"no file", nullptr, {false, false, false}},
  };

  Hobbard& hobbard = start();
  const std::string observer = stateFile("hobbard_observer_state.json").string();
  const std::string grabber = stateFile("hobbard_grabber_state.json").string();
  std::size_t expected = 2;
  for (const char* path : {observer.c_str(), grabber.c_str()}) {
    for (const auto& stateCase : cases) {
      SCOPED_TRACE(std::string(path) + ": " + stateCase.name);
      if (stateCase.content != nullptr) {
        ASSERT_TRUE(hbd_test::file_writer_process::run({"replace", path, stateCase.content}));
      } else {
        ASSERT_TRUE(hbd_test::file_writer_process::run({"remove", path}));
      }
      ++expected;
      ASSERT_TRUE(waitUntil([&] { return updates() == expected; }));
      EXPECT_EQ(hobbard.driverNotLoaded(), stateCase.flags.driverNotLoaded);
      EXPECT_EQ(hobbard.driverVersionNotMatched(), stateCase.flags.driverVersionNotMatched);
      EXPECT_EQ(hobbard.inputMonitoringNotPermitted(), stateCase.flags.inputMonitoringNotPermitted);
    }
  }
}

TEST_F(HobbardTest, a_state_file_that_is_no_regular_file_clears_the_flags_at_once) {
  Hobbard& hobbard = start();
  const auto observer = stateFile("hobbard_observer_state.json");
  const hbd_test::watchdog watchdog("reading an odd state file");
  for (const OddFile kind : grellan_test::oddFiles) {
    SCOPED_TRACE(grellan_test::name(kind));
    std::ofstream(observer) << R"({"driver_loaded": false})";
    hobbard.update(QString::fromStdString(observer.string()));
    ASSERT_TRUE(hobbard.driverNotLoaded());
    grellan_test::plant(observer, kind);
    const grellan_test::MessageCapture messages;
    hobbard.update(QString::fromStdString(observer.string()));
    EXPECT_FALSE(hobbard.driverNotLoaded());
    EXPECT_FALSE(hobbard.inputMonitoringNotPermitted());
    EXPECT_EQ(messages.count(QString::fromStdString(observer.string())), 1);
    std::filesystem::remove_all(observer);
  }
}

TEST_F(HobbardTest, an_update_prints_its_lines_and_publishes_only_flags_that_changed) {
  Hobbard& hobbard = start();
  const std::string path = stateFile("hobbard_observer_state.json").string();
  std::ofstream(path) << R"({"driver_loaded": false, "driver_version_matched": null})";

  QSignalSpy notLoaded(&hobbard, &Hobbard::driverNotLoadedChanged);
  QSignalSpy notMatched(&hobbard, &Hobbard::driverVersionNotMatchedChanged);
  QSignalSpy notPermitted(&hobbard, &Hobbard::inputMonitoringNotPermittedChanged);
  output_.str("");
  hobbard.update(QString::fromStdString(path));
  EXPECT_EQ(output_.str(), "on hobbard update: [\"" + path +
                               "\": State(driver_loaded: false, driver_version_matched: nil, "
                               "hid_device_open_permitted: nil)] \n driverNotLoaded: true\n "
                               "driverVersionNotMatched: false\n inputMonitoringNotPermitted: true\n");
  EXPECT_EQ(notLoaded.count(), 1);
  EXPECT_EQ(notMatched.count(), 0);
  EXPECT_EQ(notPermitted.count(), 1);

  // The same content again assigns nothing.
  hobbard.update(QString::fromStdString(path));
  EXPECT_EQ(notLoaded.count(), 1);
  EXPECT_EQ(notPermitted.count(), 1);

  output_.str("");
  hobbard.update(QString::fromStdString(stateFile("missing.json").string()));
  EXPECT_EQ(output_.str(), "on hobbard update: [:] \n driverNotLoaded: false\n driverVersionNotMatched: false\n "
                           "inputMonitoringNotPermitted: false\n");
  EXPECT_EQ(notLoaded.count(), 2);
  EXPECT_EQ(notPermitted.count(), 2);

  output_.str("");
  hobbard.onHobbardNotificationReceived("driver is not loaded");
  EXPECT_EQ(output_.str(), "onHobbardNotificationReceived `driver is not loaded`\n");
}

TEST_F(HobbardTest, the_activation_app_s_status_sets_driver_not_loaded_on_the_main_thread_before_the_completion) {
  struct ActivationCase {
    const char* name;
    std::optional<int> exitStatus; // none: no activation app installed
    bool activate;
    std::int32_t status;
    bool driverNotLoaded;
  };
  const ActivationCase cases[] = {
      {"status 0", 0, true, 0, false},
      {"status 3", 3, true, 3, true},
      {"deactivate, status 0", 0, false, 0, false},
      {"missing executable", std::nullopt, true, 127, true},
  };
  Hobbard& hobbard = start();
  for (const auto& activation : cases) {
    SCOPED_TRACE(activation.name);
    std::filesystem::remove_all(systemRoot() / "Applications");
    if (activation.exitStatus) {
      installActivationApp(*activation.exitStatus);
    }
    std::optional<std::int32_t> status;
    bool flagAtCompletion = !activation.driverNotLoaded;
    bool onMainThread = false;
    const auto completion = [&](std::int32_t result) {
      status = result;
      flagAtCompletion = hobbard.driverNotLoaded();
      onMainThread = QThread::currentThread() == hobbard.thread();
    };
    if (activation.activate) {
      hobbard.activateDriver(completion);
    } else {
      hobbard.deactivateDriver(completion);
    }
    ASSERT_TRUE(waitUntil([&] { return status.has_value(); }));
    EXPECT_EQ(*status, activation.status);
    EXPECT_EQ(flagAtCompletion, activation.driverNotLoaded);
    EXPECT_TRUE(onMainThread);
    if (activation.exitStatus) {
      EXPECT_EQ(activationArgument(), activation.activate ? "activate" : "deactivate");
    }
  }
}

TEST_F(HobbardTest, agents_restart_uninstall_and_terminate_run_their_exact_commands) {
  Hobbard& hobbard = start();
  platform::command::recorder commands;
  const std::string server = hbd_test::console_user_server;

  hobbard.startServerAndMonitor();
  auto expected = hbd_test::launch_agent_start_lines(server);
  for (const auto& line : hbd_test::launch_agent_start_lines(hbd_test::session_monitor)) {
    expected.push_back(line);
  }
  EXPECT_EQ(commands.commands(), expected);

  hobbard.restart();
  expected.push_back("/bin/launchctl kickstart  -k " + hbd_test::gui_domain() + server + " & ");
  hobbard.uninstall();
  expected.push_back("/usr/bin/nohup osascript '/Library/Application Support/org.zunto/Hobbard-Suite/scripts/"
                     "uninstaller.applescript' >/dev/null 2>&1 &");
  hobbard.terminate();
  for (const auto& line : hbd_test::launch_agent_stop_lines(server)) {
    expected.push_back(line);
  }
  EXPECT_EQ(commands.commands(), expected);
}

TEST_F(HobbardTest, an_update_queued_for_a_destroyed_object_does_nothing) {
  start();
  // The monitors are stopped by the destructor; a report already on its way finds no object.
  ASSERT_TRUE(hbd_test::file_writer_process::run(
      {"replace", stateFile("hobbard_observer_state.json").string(), R"({"driver_loaded": false})"}));
  hobbard_.reset();
  const auto printed = output_.str();
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(output_.str(), printed);
}

} // namespace

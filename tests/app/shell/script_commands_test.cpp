#include "shell/ScriptCommands.hpp"

#include "indicator/IndicatorWindow.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/SoundPlayer.hpp"
#include "support/app/platform/indicator_fixture.hpp"
#include "support/app/platform/wait.hpp"

#include <QDBusConnection>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using grellan::MyCommands;
using grellan::ScriptingService;

class ScriptCommandsTest : public grellan_test::IndicatorFixture {
protected:
  ScriptCommandsTest() {
    auto player = std::make_unique<grellan::RecordingSoundPlayer>();
    sounds_ = player.get();
    previousPlayer_ = grellan::SoundPlayer::setShared(std::move(player));
    token_ = grellan::NotificationCenter::defaultCenter().addObserver(
        "changeIndicator", [this](const QVariant& object) { posted_.push_back(object); });
  }
  ~ScriptCommandsTest() override { grellan::SoundPlayer::setShared(std::move(previousPlayer_)); }

  std::vector<QVariant> posted_;
  grellan::RecordingSoundPlayer* sounds_ = nullptr;

private:
  std::unique_ptr<grellan::SoundPlayer> previousPlayer_;
  grellan::ObservationToken token_;
};

TEST_F(ScriptCommandsTest, commands_post_play_or_fail_with_error_50) {
  const struct {
    const char* name;
    QString command;
    QVariantMap arguments;
    int error;
    std::vector<QVariant> posted;
    QStringList played;
  } cases[] = {
      {"indicator 1", "indicator", {{"", 1}}, 0, {QVariant(1)}, {}},
      {"indicator with text", "indicator", {{"", "vim"}}, 0, {QVariant("vim")}, {}},
      {"indicator without arguments", "indicator", {}, 50, {}, {}},
      {"indicator with another argument only", "indicator", {{"state", 1}}, 50, {}, {}},
      {"play sound", "play sound", {{"", 0}}, 0, {}, {"Pop"}},
      {"play sound without arguments", "play sound", {}, 50, {}, {}},
      {"unknown", "open", {{"", 1}}, 0, {}, {}},
  };
  for (const auto& command : cases) {
    SCOPED_TRACE(command.name);
    posted_.clear();
    const QStringList playedBefore = sounds_->played();
    MyCommands script(command.command, command.arguments);
    script.performDefaultImplementation();
    EXPECT_EQ(script.scriptErrorNumber(), command.error);
    EXPECT_EQ(script.scriptErrorString(), command.error == 0 ? "" : "Need an indicator type");
    EXPECT_EQ(posted_, command.posted);
    EXPECT_EQ(sounds_->played().mid(playedBefore.size()), command.played);
  }
}

struct SendOutcome {
  int exitCode;
  QString output;
};

// A real D-Bus client: dbus-send, run while the event loop serves the bus.
SendOutcome dbusSend(const QStringList& call) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start("dbus-send",
                QStringList{"--session", "--print-reply", "--dest=org.grellan.Grellan", "/org/grellan/Grellan"} + call);
  EXPECT_TRUE(grellan_test::waitUntil([&] { return process.state() == QProcess::NotRunning; }));
  return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

TEST_F(ScriptCommandsTest, dbus_send_switches_the_indicator_and_gets_error_50_without_a_parameter) {
  ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
  int reopened = 0;
  ScriptingService service([&] { ++reopened; });
  ASSERT_EQ(service.registerOnSessionBus(), ScriptingService::Registration::registered);
  grellan::IndicatorWindow window;
  auto& view = *window.imageView();

  const struct {
    const char* name;
    QStringList call;
    int exitCode;
    QString letter;
  } cases[] = {
      {"visual", {"org.grellan.Grellan.Scripting.indicator", "int32:1"}, 0, "v"},
      {"vim as a variant", {"org.grellan.Grellan.Scripting.indicator", "variant:int32:2"}, 0, "n"},
      {"3 is ignored", {"org.grellan.Grellan.Scripting.indicator", "int32:3"}, 0, "n"},
      {"a text is ignored", {"org.grellan.Grellan.Scripting.indicator", "string:0"}, 0, "n"},
      {"insert", {"org.grellan.Grellan.Scripting.indicator", "byte:0"}, 0, "i"},
      {"no parameter", {"org.grellan.Grellan.Scripting.indicator"}, 1, "i"},
      {"unknown command", {"org.grellan.Grellan.Scripting.close", "int32:2"}, 0, "i"},
      {"play sound", {"org.grellan.Grellan.Scripting.playSound", "string:Pop"}, 0, "i"},
  };
  for (const auto& call : cases) {
    SCOPED_TRACE(call.name);
    const auto outcome = dbusSend(call.call);
    EXPECT_EQ(outcome.exitCode, call.exitCode) << outcome.output.toStdString();
    EXPECT_EQ(view.indicatorText().string, call.letter);
    if (call.exitCode != 0) {
      EXPECT_TRUE(outcome.output.contains("org.grellan.Grellan.Error.ScriptError50")) << outcome.output.toStdString();
      EXPECT_TRUE(outcome.output.contains("Need an indicator type")) << outcome.output.toStdString();
    }
  }
  EXPECT_EQ(sounds_->played(), QStringList{"Pop"});

  // A second start finds the name taken and asks this instance to reopen.
  ScriptingService second(nullptr);
  EXPECT_EQ(second.registerOnSessionBus(), ScriptingService::Registration::heldByAnother);
  bool answered = false;
  QProcess secondStart;
  // The call blocks its caller, so it comes from another process, like a second start would.
  secondStart.start("dbus-send", {"--session", "--print-reply", "--dest=org.grellan.Grellan", "/org/grellan/Grellan",
                                  "org.grellan.Grellan.Application.Reopen"});
  answered = grellan_test::waitUntil([&] { return secondStart.state() == QProcess::NotRunning; });
  EXPECT_TRUE(answered);
  EXPECT_EQ(secondStart.exitCode(), 0);
  EXPECT_EQ(reopened, 1);
}

} // namespace

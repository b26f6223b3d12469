#include "services/Updater.hpp"

#include "platform/NotificationCenter.hpp"

#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

using grellan::Updater;

// Answers each check with the outcome the test chose.
class ScriptedFramework final : public grellan::UpdateFramework {
public:
  explicit ScriptedFramework(bool findsUpdate) : findsUpdate_(findsUpdate) {}
  void setDelegate(grellan::UpdaterDelegate* delegate) override { delegate_ = delegate; }
  void checkForUpdates() override {
    ++checks;
    if (delegate_ == nullptr) {
      return;
    }
    findsUpdate_ ? delegate_->didFindValidUpdate() : delegate_->didNotFindUpdate();
  }
  bool updateInProgress() const override { return findsUpdate_; }

  grellan::UpdaterDelegate* delegate_ = nullptr;
  int checks = 0;

private:
  bool findsUpdate_;
};

QStringList postedDuring(const std::function<void()>& action) {
  QStringList posted;
  auto& center = grellan::NotificationCenter::defaultCenter();
  const auto found = center.addObserver(Updater::didFindValidUpdate, [&posted](const QVariant& object) {
    EXPECT_FALSE(object.isValid());
    posted.append(Updater::didFindValidUpdate);
  });
  const auto notFound = center.addObserver(Updater::updaterDidNotFindUpdate, [&posted](const QVariant& object) {
    EXPECT_FALSE(object.isValid());
    posted.append(Updater::updaterDidNotFindUpdate);
  });
  action();
  return posted;
}

TEST(UpdaterTest, each_outcome_of_a_check_posts_its_notification) {
  for (const bool findsUpdate : {true, false}) {
    SCOPED_TRACE(findsUpdate);
    auto framework = std::make_unique<ScriptedFramework>(findsUpdate);
    auto& scripted = *framework;
    auto previous = grellan::UpdateFramework::setShared(std::move(framework));
    {
      Updater updater;
      // The delegate joins on the first check only.
      EXPECT_EQ(scripted.delegate_, nullptr);
      EXPECT_EQ(updater.updateInProgress(), findsUpdate);
      EXPECT_EQ(postedDuring([&updater] { updater.checkForUpdates(); }),
                QStringList{findsUpdate ? "didFindValidUpdate" : "updaterDidNotFindUpdate"});
      EXPECT_EQ(scripted.checks, 1);
    }
    // A framework outliving the updater calls no delegate that is gone.
    EXPECT_EQ(scripted.delegate_, nullptr);
    grellan::UpdateFramework::setShared(std::move(previous));
  }
}

QList<QMessageBox*> visibleMessages() {
  QList<QMessageBox*> messages;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* message = qobject_cast<QMessageBox*>(window); message != nullptr && message->isVisible()) {
      messages.append(message);
    }
  }
  return messages;
}

TEST(UpdaterTest, the_default_framework_finds_no_update_and_says_so_without_waiting) {
  Updater updater;
  EXPECT_FALSE(updater.updateInProgress());
  // Each check returns at once, with one message on screen however often the user asks.
  for (int check = 0; check < 2; ++check) {
    EXPECT_EQ(postedDuring([&updater] { updater.checkForUpdates(); }), QStringList{"updaterDidNotFindUpdate"});
    const auto messages = visibleMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.constFirst()->text(), "No updates available");
    EXPECT_FALSE(messages.constFirst()->isModal());
  }
  visibleMessages().constFirst()->close();
}

} // namespace

#include "settings/ApplicationList.hpp"

#include "support/app/platform/message_capture.hpp"
#include "support/app/platform/odd_files.hpp"
#include "support/app/services/settings_fixture.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using ApplicationListTest = grellan_test::SettingsFixture;

TEST_F(ApplicationListTest, a_choice_that_gives_no_new_identifier_changes_nothing) {
  hbd_test::temporary_directory elsewhere;
  const auto installed = installApplication("org.example.Editor.desktop");
  installApplication("org.example.Link.desktop", "Link");
  installApplication("   .desktop");
  std::ofstream(elsewhere.path() / "org.example.Unknown.desktop") << "[Desktop Entry]\nType=Application\n";
  std::ofstream(elsewhere.path() / "notes.txt") << "text\n";

  const struct {
    const char* name;
    std::optional<QUrl> chosen;
  } cases[] = {
      {"cancelled", std::nullopt},
      {"no file name", QUrl("file:///")},
      {"not installed by that name",
       QUrl::fromLocalFile(QString::fromStdString((elsewhere.path() / "org.example.Unknown.desktop").string()))},
      {"not an application", QUrl::fromLocalFile(QString::fromStdString((elsewhere.path() / "notes.txt").string()))},
      {"a link, not an application", QUrl::fromLocalFile(QString::fromStdString(installed).replace("Editor", "Link"))},
      {"a blank identifier",
       QUrl::fromLocalFile(QString::fromStdString(installed).replace("org.example.Editor", "   "))},
  };
  grellan::ApplicationList list;
  list.setIdentifiers({"org.example.Editor"});
  QSignalSpy changes(&list, &grellan::ApplicationList::changed);
  for (const auto& step : cases) {
    chosen = step.chosen;
    list.addApplication();
    EXPECT_EQ(list.identifiers(), QStringList{"org.example.Editor"}) << step.name;
  }
  EXPECT_EQ(changes.count(), 0);
}

TEST_F(ApplicationListTest,
       a_name_resolves_to_the_installed_application_of_that_name_wherever_it_was_chosen_and_may_repeat) {
  hbd_test::temporary_directory elsewhere;
  installApplication("org.example.Editor.desktop");
  const auto copy = elsewhere.path() / "org.example.Editor.desktop";
  std::ofstream(copy) << "not a desktop entry\n";
  EXPECT_EQ(grellan::bundleIdentifier("org.example.Editor.desktop"), "org.example.Editor");
  EXPECT_EQ(grellan::bundleIdentifier("missing.desktop"), std::nullopt);
  EXPECT_EQ(grellan::bundleIdentifier(""), std::nullopt);

  grellan::ApplicationList list;
  choose(copy.string());
  list.addApplication();
  EXPECT_EQ(list.identifiers(), QStringList{"org.example.Editor"});

  // Chosen again: a second, equal entry.
  QSignalSpy changes(&list, &grellan::ApplicationList::changed);
  list.addApplication();
  EXPECT_EQ(list.identifiers(), (QStringList{"org.example.Editor", "org.example.Editor"}));
  EXPECT_EQ(changes.count(), 1);
}

TEST_F(ApplicationListTest, a_long_identifier_takes_at_most_two_lines_and_leaves_every_button_in_view) {
  const QString longIdentifier = "org.example." + QString(300, 'x');
  grellan::ApplicationList list;
  list.setIdentifiers({"org.example.Editor", longIdentifier});
  list.resize(360, 300);
  list.show();
  QCoreApplication::processEvents();
  const auto* view = list.findChild<QListWidget*>("applications");
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    const QPushButton* remove = list.deleteButton(row);
    const int right = remove->mapTo(view->viewport(), QPoint(remove->width(), 0)).x();
    EXPECT_LE(right, view->viewport()->width());
    EXPECT_GT(remove->mapTo(view->viewport(), QPoint(0, 0)).x(), view->viewport()->width() / 2);
  }
  const auto* shortLabel = list.deleteButton(0)->parentWidget()->findChild<QLabel*>();
  EXPECT_EQ(shortLabel->text(), "org.example.Editor");
  const auto* longLabel = list.deleteButton(1)->parentWidget()->findChild<QLabel*>();
  EXPECT_EQ(longLabel->text().count('\n'), 1);
  EXPECT_TRUE(longLabel->text().startsWith("org.example.x"));
  EXPECT_TRUE(longLabel->text().endsWith(QChar(0x2026)));
  EXPECT_EQ(longLabel->toolTip(), longIdentifier);
  EXPECT_GE(longLabel->height(), 2 * longLabel->fontMetrics().lineSpacing());
  EXPECT_LE(list.addButton()->mapTo(view->viewport(), QPoint(list.addButton()->width(), 0)).x(),
            view->viewport()->width());
}

TEST_F(ApplicationListTest, a_desktop_entry_that_is_no_regular_file_names_no_application_at_once) {
  const hbd_test::watchdog watchdog("reading odd desktop entries");
  const hbd_test::temporary_directory folder;
  const auto entry = folder.path() / "org.example.Odd.desktop";
  for (const auto kind : grellan_test::oddFiles) {
    SCOPED_TRACE(grellan_test::name(kind));
    grellan_test::plant(entry, kind);
    const grellan_test::MessageCapture messages;
    EXPECT_EQ(grellan::bundleIdentifierOfApplication(QString::fromStdString(entry.string())), std::nullopt);
  }
}

} // namespace
